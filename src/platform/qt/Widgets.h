// What the qt backend's forms and dialogs share: the native windows behind TForm and
// TControl, and the fonts of the layout.
#pragma once

#include "platform/Forms.h"
#include "platform/StdCtrls.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

namespace tk {

struct TForm::Native {
    QPointer<QWidget> window;
    bool shownBefore = false; // fonts and icon are settled at the first show
};

struct TControl::Native {
    QPointer<QWidget> widget;
};

namespace qt {

// A layout font: the named family where it is installed, else the desktop's own family, at
// the layout's point size. (The layout names Windows fonts, which few desktops have.)
QFont LayoutFont(const TFont& font);

} // namespace qt

} // namespace tk
