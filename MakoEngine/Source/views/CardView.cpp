#include "views/CardView.h"

#include "core/Class.h"
#include "players/Player.h"
#include "widgets/Label.h"

MAKO_IMPLEMENT_CLASS(CardView, "CardView", "Actor", nullptr, &InstantiateObjectOfClass<CardView>);

CardView::CardView() : m_Hover(*this) {}

CardView::CardView(Player* player) : m_Hover(*this)
{
    SetPlayer(player);
}

CardView::~CardView() = default;

void CardView::SetPlayer(Player* player)
{
    m_Player = player;
    Refresh();
}

bool CardView::IsEmpty() const
{
    return !m_Player || m_Player->IsEmpty();
}

void CardView::Refresh() {}
void CardView::UpdateLabel(int) {}
void CardView::Tick()
{
    Actor::Tick();
}
void CardView::Draw(Canvas& canvas)
{
    Actor::Draw(canvas);
}
void CardView::SetVisible(bool visible, bool recursive)
{
    Actor::SetVisible(visible, recursive);
}
void CardView::SetEnabled(bool enabled)
{
    m_Enabled = enabled;
}
Label* CardView::GetLabel(int index) const
{
    return index >= 0 && index < kLabelCount ? m_Labels[index] : nullptr;
}
std::string CardView::RankForLoot(int)
{
    return "";
}
int CardView::RankIndex(const std::string&)
{
    return -1;
}
void CardView::Build() {}
void CardView::LayoutLabels() {}
void CardView::UpdateModeAndRank() {}
bool CardView::OnMouseMotion(const Event&)
{
    return false;
}
bool CardView::OnScreenChange(const Event&)
{
    return false;
}
