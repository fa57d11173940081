#include "screens/ArtifactDialog.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "screens/Artefact.h"
#include "widgets/Label.h"

MAKO_IMPLEMENT_CLASS(ArtifactDialog, "ArtifactDialog", "Dialog", nullptr,
                     &InstantiateObjectOfClass<ArtifactDialog>);

ArtifactDialog::ArtifactDialog() : Dialog("ArtifactDialog", 0)
{
    ApplyStringProperty("name", "ArtifactDialog");
    SetTitle("Recovered!", -1);
}

ArtifactDialog::ArtifactDialog(const Artefact& artefact) : ArtifactDialog()
{
    ShowArtefact(artefact.GetArtefactName());
}

void ArtifactDialog::ShowArtefact(const std::string& name)
{
    Artefact* artifactImage = dynamic_cast<Artefact*>(GetChild("artifactImage"));
    MAKO_ASSERT(artifactImage != 0);
    Label* artifactArtist = dynamic_cast<Label*>(GetChild("artifactArtist"));
    MAKO_ASSERT(artifactArtist != 0);
    Label* artifactDescription = dynamic_cast<Label*>(GetChild("artifactDescription"));
    MAKO_ASSERT(artifactDescription != 0);
    Label* artifactTitle = dynamic_cast<Label*>(GetChild("artifactTitle"));
    MAKO_ASSERT(artifactTitle != 0);

    artifactImage->SetName(name);
    artifactImage->SetCovered(false, nullptr);
    // Labels re-align to their places once their new text has its size.
    const auto show = [](Label* label, const std::string& text) {
        label->SetText(text, true);
        label->UpdateAlignment();
    };
    show(artifactTitle, artifactImage->GetTitle());
    show(artifactArtist, artifactImage->GetArtist());
    show(artifactDescription, artifactImage->GetDescription());
}
