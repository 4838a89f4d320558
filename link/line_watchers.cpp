#include "link/line_watchers.h"

CSubscription::CSubscription(CSubscription&& other) noexcept
    : m_list(std::move(other.m_list)), m_nId(other.m_nId) {
    other.m_list.reset();
}

CSubscription& CSubscription::operator=(CSubscription&& other) noexcept {
    if (this != &other) {
        Cancel();
        m_list = std::move(other.m_list);
        m_nId = other.m_nId;
        other.m_list.reset();
    }
    return *this;
}

void CSubscription::Cancel() {
    if (auto list = m_list.lock()) list->Remove(m_nId);
    m_list.reset();
}

bool CSubscription::Active() const {
    auto list = m_list.lock();
    return list && list->Has(m_nId);
}
