#pragma once
class QPushButton;

// Enter pressed on the button while it has the focus presses it. Qt hands Enter on to the window
// for a button that is not auto-default (every button outside a dialog, and the dialog buttons
// kept from taking the default), where the window's default button would take it instead.
void pressOnEnter(QPushButton* button);
