#pragma once
// The master password of one document. Three states: absent (no password chosen yet: a new or
// emptied document, whose first save asks for one), empty (the file is saved unprotected) and set.

#include <cstddef>
#include <memory>
#include <string>

class CMasterPassword {
public:
    CMasterPassword();
    ~CMasterPassword();
    CMasterPassword(const CMasterPassword&) = delete;
    CMasterPassword& operator=(const CMasterPassword&) = delete;

    bool IsAbsent() const { return !m_pText; }
    // Makes the password absent.
    void Clear();
    // Present from now on, with this text (empty for an unprotected file).
    void SetPassword(const std::string& strText);
    // Byte length and bytes; an absent password reads as empty.
    size_t GetLength() const { return GetText().size(); }
    const std::string& GetText() const;

    // Asks for the password of a protected file with the Enter-password dialog; lpszName (the file's
    // title) goes into its caption. On OK the typed text (maybe empty) becomes the password and the
    // result is true; on Cancel nothing changes.
    bool AskPassword(const char* lpszName = nullptr);
    // Lets the user change the password with the Master password dialog; true on OK. An absent
    // password becomes empty first and stays so when the user cancels.
    bool ChangePassword();

private:
    std::unique_ptr<std::string> m_pText;
};
