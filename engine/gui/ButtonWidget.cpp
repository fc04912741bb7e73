#include "engine/gui/ButtonWidget.h"

#include "engine/core/dcEngine.h"
#include "engine/gui/MenuSounds.h"

ButtonWidget::ButtonWidget(const WideString& caption, ButtonOption* option)
    : TextWidget(caption, nullptr)
    , option_(option)
{
    option_->widget = this;
}

void ButtonWidget::Activate(int32_t)
{
    dcEngine& engine = dcEngine::Instance();
    if (MLP* previous = engine.GetModules().Previous()) {
        option_->Propose(0);
        if (engine.HasEngineFlag(dcEngine::kStacking)) {
            engine.PushMLP(previous, true);
        }
        PlayMenuSound(L"Back.WAV");
    }
    option_->Propose(1);
}
