#include "list/RevealPasswords.h"

#include "framework/Framework.h"

namespace klt {

void ToggleReveal(CButton& button, std::initializer_list<CEdit*> fields) {
    bool bWasMasked = false;
    bool bFirst = true;
    for (CEdit* pField : fields) {
        const char chMask = pField->GetPasswordChar();
        if (bFirst) {
            bWasMasked = chMask == '*';
            bFirst = false;
        }
        pField->SetPasswordChar(static_cast<char>(chMask ^ '*'));
    }
    button.SetWindowText(bWasMasked ? "&Hide" : "&Reveal");
}

} // namespace klt
