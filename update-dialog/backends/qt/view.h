// A view the Qt alert can host as its accessory: it hands over its widget and
// learns when it is put into or taken out of an alert, so that it is never
// shown as a window of its own.
#pragma once

#include <QWidget>

#include "core/toolkit.h"

namespace tessary::update::qt {

class QtView : public View {
public:
    // The widget to place in the alert; null once it has been destroyed.
    virtual QWidget* widget() = 0;
    // Called by the alert after it has adopted or released the widget.
    virtual void attachmentChanged() = 0;
};

}  // namespace tessary::update::qt
