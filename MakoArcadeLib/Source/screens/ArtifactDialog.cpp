#include "screens/ArtifactDialog.h"

#include "core/Class.h"
#include "screens/Artefact.h"

MAKO_IMPLEMENT_CLASS(ArtifactDialog, "ArtifactDialog", "Dialog", nullptr,
                     &InstantiateObjectOfClass<ArtifactDialog>);

ArtifactDialog::ArtifactDialog() : Dialog(0)
{
    ApplyStringProperty("name", "ArtifactDialog");
}

ArtifactDialog::ArtifactDialog(const Artefact& artefact) : ArtifactDialog()
{
    ShowArtefact(artefact.GetArtefactName());
}

void ArtifactDialog::ShowArtefact(const std::string&) {}
