#include "screens/Artefact.h"

#include "core/Class.h"

const char* const Artefact::kDefaultName = "artifactScream.jpg";

MAKO_IMPLEMENT_CLASS(Artefact, "Artefact", "Actor", &Artefact::RegisterProperties,
                     &InstantiateObjectOfClass<Artefact>);

Artefact::Artefact() : Artefact(kDefaultName) {}

Artefact::Artefact(const std::string& name) : m_ArtefactName(name) {}

Artefact::~Artefact() = default;

void Artefact::ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value)
{
    Actor::ApplyClassicProperty(name, value);
}

void Artefact::RetrieveClassicProperties(LuaPlus::LuaObject& table)
{
    Actor::RetrieveClassicProperties(table);
}

void Artefact::SetCovered(bool covered, ArcadeGameLogic*)
{
    m_Covered = covered;
}

void Artefact::SetName(const std::string& name)
{
    m_ArtefactName = name;
}

std::string Artefact::GetTitle() const
{
    return m_ArtefactName;
}
std::string Artefact::GetArtist() const
{
    return m_ArtefactName;
}
std::string Artefact::GetDescription() const
{
    return m_ArtefactName;
}
void Artefact::SetMissing(bool missing)
{
    m_Missing = missing;
}
void Artefact::SetConstrainWidth(double width)
{
    m_ConstrainWidth = width;
}
void Artefact::ReapplyConstrainWidth() {}
void Artefact::MakeButton(EventReceiver*) {}

bool Artefact::Deactivate()
{
    const bool was = m_Active;
    m_Active = false;
    return was;
}

bool Artefact::OnMouseMotion(const Event&)
{
    return false;
}
bool Artefact::OnButtonPress(const Event&)
{
    return false;
}

void Artefact::RegisterProperties(Class& c)
{
    c.BuildDefaults();
}
