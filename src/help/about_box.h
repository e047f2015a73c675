#pragma once
// CAboutDlg: "About Vistrel". The banner with the scrolling credits (see
// CCreditsBanner), the version and rights, and two links: the web site and the
// support mail address. Closing the box ends the credits thread and waits for
// it before the box goes. User-interface thread only.

#include <QDialog>

namespace vistrel {

class CCreditsBanner;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent);
    ~CAboutDlg() override;

    void done(int result) override;

private:
    QWidget* BuildLinks();

    CCreditsBanner* m_banner = nullptr;
};

} // namespace vistrel
