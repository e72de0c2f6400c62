#include "orvel/shell/MenuBarIndicatorValue.h"

namespace Orvel {

QString MenuBarIndicatorValue::emphasis() const {
    switch (indicator_.emphasis) {
    case OrvelKit::MenuBarEmphasis::normal:
        return QStringLiteral("normal");
    case OrvelKit::MenuBarEmphasis::high:
        return QStringLiteral("high");
    case OrvelKit::MenuBarEmphasis::critical:
        return QStringLiteral("critical");
    }
    return QStringLiteral("normal");
}

QString MenuBarIndicatorValue::badge() const {
    return QString::fromStdString(indicator_.attentionBadge.value_or(""));
}

QString MenuBarIndicatorValue::accessibilityLabel() const {
    return QString::fromStdString(OrvelKit::Presentation::statusItemAccessibilityLabel(indicator_));
}

} // namespace Orvel
