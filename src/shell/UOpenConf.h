#pragma once
// Open Configuration: lists the project folders in PROJECTS and returns the chosen name in
// Name_Conf; the main window activates it.

#include "controls/FormParts.h"

#include <QStringList>

class QLabel;
class QListWidget;

namespace zfw {

class TFOpenConf final : public TModalForm {
    Q_OBJECT
public:
    explicit TFOpenConf(QWidget* parent = nullptr);

    void Set_Lang() override;

    // Fills SL with the project folders: no hidden ones, no name that cannot be a project,
    // sorted without regard to case (the order of the folder listing means nothing).
    void Load_Existing_Configuration();
    // Index in SL of name compared without regard to case; -1 when absent.
    int Search_Open_Conf(const QString& name) const;
    void ListBox1Click();

    QStringList SL;     // the folder names found at the last showing
    QString Name_Conf;  // the chosen name, kept between openings

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;

private:
    void FormCreate();
    void FormShow() override;
};

}  // namespace zfw
