#include "view/ViewContext.h"

ActiveDialog::Bracket::Bracket(ActiveDialog& active, CDialog& dialog, uint32_t pictures)
    : m_active(active) {
    m_active.m_dialog = &dialog;
    m_active.m_host.DialogOpening(pictures);
}

ActiveDialog::Bracket::~Bracket() {
    m_active.m_host.DialogClosed();
    m_active.m_dialog = nullptr;
}

CDialog* ActiveDialog::Get() const {
    return m_dialog && m_dialog->IsWindow() ? m_dialog : nullptr;
}
