#pragma once
// About: the identity of this build and a link to the maker's home page. Its captions are
// fixed English texts; it takes nothing from the language table.

#include "controls/FormParts.h"
#include "shell/ShellServices.h"

class QLabel;

namespace zfw {

class TFAbout final : public TModalForm {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* parent = nullptr);
    TFAbout(const ShellServices& shell, QWidget* parent);

    // The maker's server and the URL opener; the address label follows at once.
    void setShellServices(const ShellServices& shell);

    // Opens the maker's home page (click on Label4 or on Image2).
    void Label4Click();

    QLabel* Image2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label12 = nullptr;
    TFormButton* LbButton1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow() override;

    ShellServices m_shell;
};

// The maker's logo, drawn here rather than loaded: size x size pixels.
QPixmap makerLogo(int size);

}  // namespace zfw
