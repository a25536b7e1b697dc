// The modal run of a dialog: build its window from the template, initialise, loop, tear down.
#include "ui/dialog.h"

#include "ui/dialog_template.h"
#include "ui/win_app.h"
#include "ui/window.h"

namespace {
const ui::MessageEntry kDialogEntries[] = {
    {WM_COMMAND, IDOK, BN_CLICKED, ui::Bind<&CDialog::OnOK>},
    {WM_COMMAND, IDCANCEL, BN_CLICKED, ui::Bind<&CDialog::OnCancel>},
};
}  // namespace

const ui::MessageMap CDialog::messageMap{&CWnd::messageMap, kDialogEntries};

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

std::intptr_t CDialog::DoModal() {
    const ui::DialogTemplate* t = ui::FindDialogTemplate(m_nIDTemplate);
    ui::Backend* backend = ui::CurrentBackend();
    if (!t || !backend || window_)
        return -1;

    // Without a parent the owner is the application's main window, unless that is this dialog.
    CWnd* ownerObject = m_pParentWnd;
    if (!ownerObject && AfxGetMainWnd() != this)
        ownerObject = AfxGetMainWnd();
    ui::DialogWindow* owner = ownerObject ? ownerObject->DialogWindow() : nullptr;

    window_ = std::make_unique<ui::DialogWindow>(*t, *this, owner);
    m_hWnd = window_.get();
    const bool ownerWasEnabled = owner && owner->IsEnabled();
    if (owner)
        owner->Enable(false);
    window_->AttachView(backend->CreateView(*window_));

    if (SendMessage(WM_INITDIALOG) && !window_->FocusedControl()) {
        const auto stops = window_->TabStops();
        if (!stops.empty())
            window_->SetFocus(stops.front());
    }
    if (!window_->ModalEnded()) {
        window_->Show(true);
        if (window_->View())
            window_->View()->Show(true);
        window_->Invalidate();
        window_->AccessibleOpened();
        backend->RunModalLoop(*window_);
    }
    const int result = window_->ModalResult();
    window_->AccessibleClosing();

    if (window_->View())
        window_->View()->Show(false);
    window_->DetachView();
    UnbindControls();
    m_hWnd = nullptr;
    window_.reset();
    if (owner && ownerWasEnabled)
        owner->Enable(true);
    return result;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result) {
    if (ui::DialogWindow* window = DialogWindow()) {
        window->EndModal(result);
        window->Show(false);
    }
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        // Closing a dialog means Cancel, delivered after the close has been handled.
        PostMessage(WM_COMMAND, MakeWParam(IDCANCEL, BN_CLICKED), 0);
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}
