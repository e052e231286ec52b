#include "controls/ExtDropDownAppearance.h"

namespace zfw {

void THeaderButton::changed()
{
    if (m_notify)
        m_notify();
}

void THeaderButton::SetCaption(const QString& caption)
{
    if (caption == FCaption)
        return;
    FCaption = caption;
    changed();
}

void THeaderButton::SetEnabled(bool on)
{
    if (on == FEnabled)
        return;
    FEnabled = on;
    changed();
}

void THeaderButton::SetWidth(int w)
{
    if (w == FWidth)
        return;
    FWidth = w;
    changed();
}

void THeaderButton::Assign(const THeaderButton& source)
{
    FCaption = source.FCaption;
    ImageIndex = source.ImageIndex;
    FEnabled = source.FEnabled;
    Height = source.Height;
    FWidth = source.FWidth;
}

void TFooterButton::Assign(const TFooterButton& source)
{
    THeaderButton::Assign(source);
    ModalResult = source.ModalResult;
}

THeaderAppearance::THeaderAppearance(QObject* owner) : TBarAppearance(owner)
{
    Font.setFamily(QStringLiteral("Tahoma"));
}

void THeaderAppearance::Assign(const THeaderAppearance& source)
{
    assignCommon(source);
    assignTail(source);
}

void THeaderAppearance::AssignColors(const THeaderAppearance& source) { assignColorsOf(source); }

TFooterAppearance::TFooterAppearance(QObject* owner) : TBarAppearance(owner) {}

void TFooterAppearance::Assign(const TFooterAppearance& source)
{
    assignCommon(source);
    SizeGrip = source.SizeGrip;
    assignTail(source);
}

void TFooterAppearance::AssignColors(const TFooterAppearance& source) { assignColorsOf(source); }

}  // namespace zfw
