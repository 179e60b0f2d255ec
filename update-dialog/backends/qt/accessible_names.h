// What a screen reader says about the dialog's parts besides their texts.
#pragma once

class QLabel;

namespace tessary::update::qt {

// Gives the icon a name, and the headline and the detail text descriptions
// that say which is which, so that a screen reader need not go by their order.
// The labels' names stay their texts: a change of text still reaches a screen
// reader as a change of name.
void describeForScreenReaders(QLabel& icon, QLabel& headline, QLabel& detail);

}  // namespace tessary::update::qt
