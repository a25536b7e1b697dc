// Modal dialogs built from templates.
#pragma once

#include <memory>

#include "ui/cwnd.h"

class CDialog : public CWnd {
  public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Shows the dialog and runs its modal loop; the owner is disabled meanwhile. Returns the
    // result given to EndDialog, or -1 when the dialog could not be created.
    virtual std::intptr_t DoModal();
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);

    UINT TemplateId() const { return m_nIDTemplate; }
    const ui::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const ui::MessageMap messageMap;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

  private:
    std::unique_ptr<ui::DialogWindow> window_;
};
