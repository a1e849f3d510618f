#pragma once
// The application object: joins the password document, the main frame and the entry list in one
// single-document template and opens the password file at start.

#include "Framework.h"

#include <string>

class CKLTDoc;

class CKLTApp : public CWinApp {
public:
    CKLTApp();

    BOOL InitInstance() override;

    // The full path of a file called name in the folder of the running program file.
    std::string GetPathBesideProgram(const std::string& name) const;
    // The one password document, or null before the template has made it.
    CKLTDoc* GetOpenDocument() const;

private:
    // Opens the file named on the command line, else "DEFAULT.KLT" beside the program, which is
    // created (after the master-password question) when it cannot be opened.
    void OpenStartupFile();
};
