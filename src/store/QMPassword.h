#pragma once
// One stored password: system name, user name, password, a fourth text that is only carried along,
// and the time of the last change (seconds since 1970 UTC). Fields are written in this order.

#include "store/Object.h"

#include <cstdint>
#include <string>

class QMPassword : public CObject {
public:
    static const CRuntimeClass classQMPassword; // "QMPassword", schema 0

    // Four empty texts, changed now.
    QMPassword();
    // The fourth text starts empty.
    QMPassword(std::string strSystem, std::string strUserName, std::string strPassword,
               int32_t timeLastChange);

    const CRuntimeClass* GetRuntimeClass() const override;
    void Serialize(CArchive& ar) override;

    std::string m_strSystem;
    std::string m_strUserName;
    std::string m_strPassword;
    std::string m_strFourth;
    int32_t m_timeLastChange;
};
