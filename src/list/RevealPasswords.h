#pragma once
// The Reveal/Hide button of the dialogs that show passwords: each click flips the mask of the
// password fields between '*' and none, and the button names what the next click will do.

#include <initializer_list>

class CButton;
class CEdit;

namespace klt {

// Flips each field's mask character with '*' ('*' becomes none, none becomes '*') and sets the
// button's caption to "&Hide" when the first field was masked before, "&Reveal" when it was plain.
void ToggleReveal(CButton& button, std::initializer_list<CEdit*> fields);

} // namespace klt
