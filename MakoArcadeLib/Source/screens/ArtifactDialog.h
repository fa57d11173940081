#pragma once
// The artefact letter ("Recovered!"): one recovered artefact shown as a card with its
// picture, title, artist and description, closed by "OkayButton". The game shows it when
// a level that hides an artefact is won; the finds and menu screens when one is clicked.
// Its layout is the resource table "ArtifactDialog"; it is named "ArtifactDialog".
//
// Registered as class "ArtifactDialog" (parent "Dialog"). Main thread only.
#include "screens/Dialog.h"

class Artefact;

class ArtifactDialog : public Dialog
{
    MAKO_DECLARE_CLASS();

public:
    // The card with the layout's own picture.
    ArtifactDialog();
    // The card of that artefact: the layout must hold "artifactImage", "artifactTitle",
    // "artifactArtist" and "artifactDescription" (a missing one raises).
    explicit ArtifactDialog(const Artefact& artefact);

    // Shows the artefact of that name.
    void ShowArtefact(const std::string& name);
};
