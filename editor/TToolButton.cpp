#include "editor/TToolButton.h"

#include "lang/MultiLang.h"

namespace qm {

TToolButton::TToolButton(QAction& action, const char* name, QWidget* parent) : QToolButton(parent) {
    setObjectName(name);
    setDefaultAction(&action);
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
}

void TToolButton::actionEvent(QActionEvent* event) {
    QToolButton::actionEvent(event);
    const QString tip = property(kLangToolTip).toString();
    if (!tip.isEmpty()) {
        setToolTip(tip);
        setStatusTip(property(kLangStatusTip).toString());
    }
}

} // namespace qm
