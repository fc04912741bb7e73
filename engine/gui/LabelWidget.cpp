#include "engine/gui/LabelWidget.h"

LabelWidget::LabelWidget(const WideString& caption, bool dimmed, Font* font)
    : TextWidget(caption, font)
{
    SetEnabled(false);
    SetFlag(kBrightWhileDisabled, !dimmed);
}
