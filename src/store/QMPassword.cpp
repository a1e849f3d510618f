#include "store/QMPassword.h"

#include "store/Archive.h"

#include <ctime>

namespace {

// A loaded entry's time comes from the file: asking the clock for each would cost a load of many
// entries a noticeable share.
std::unique_ptr<CObject> CreateQMPassword() {
    return std::make_unique<QMPassword>(std::string(), std::string(), std::string(), 0);
}

} // namespace

const CRuntimeClass QMPassword::classQMPassword = {"QMPassword", 0, &CreateQMPassword,
                                                   &CObject::classCObject};

QMPassword::QMPassword() : m_timeLastChange(static_cast<int32_t>(std::time(nullptr))) {}

QMPassword::QMPassword(std::string strSystem, std::string strUserName, std::string strPassword,
                       int32_t timeLastChange)
    : m_strSystem(std::move(strSystem)), m_strUserName(std::move(strUserName)),
      m_strPassword(std::move(strPassword)), m_timeLastChange(timeLastChange) {}

const CRuntimeClass* QMPassword::GetRuntimeClass() const {
    return &classQMPassword;
}

void QMPassword::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteText(m_strSystem);
        ar.WriteText(m_strUserName);
        ar.WriteText(m_strPassword);
        ar.WriteText(m_strFourth);
        ar.WriteDWord(static_cast<uint32_t>(m_timeLastChange));
    } else {
        m_strSystem = ar.ReadText();
        m_strUserName = ar.ReadText();
        m_strPassword = ar.ReadText();
        m_strFourth = ar.ReadText();
        m_timeLastChange = static_cast<int32_t>(ar.ReadDWord());
    }
}
