#include "MSPKeyPress.h"

#include "MSPEffect.h"

bool MSPKeyPress::isSent(Key key, int activeEffectType, int brightness) {
    switch (key) {
    case Key::OnOff:
        return true;
    case Key::Up:
        return activeEffectType == MSPEffect::VariableColor || brightness != 255;
    case Key::Down:
        return activeEffectType == MSPEffect::VariableColor || brightness != 0;
    }
    return false;
}
