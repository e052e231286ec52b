#include "shell/UPlaceholder.h"

#include "controls/FormParts.h"
#include "platform/Dialogs.h"
#include "shell/Forms.h"

#include <QLabel>

namespace zfw {

TFPlaceholder::TFPlaceholder(const FormInfo& info, QWidget* parent) : TForm(parent)
{
    setObjectName(QLatin1String(info.className));
    setWindowTitle(QLatin1String(info.title));
    m_label = makeFormLabel(this, "L_Message", 16, 16);
    m_label->setText(QStringLiteral("%1: this window is not available in this version yet.")
                         .arg(QLatin1String(info.title)));
    m_label->setWordWrap(true);
    m_label->resize(328, 48);
    // Closing is a Cancel: a caller that acts on OK must find nothing done.
    TFormButton* close = makeFormButton(this, "Btn_Close", 244, 70, 100, 28);
    close->setText(QStringLiteral("Close"));
    close->setModalResult(mrCancel);
    setFixedClientSize(360, 110);
}

QString TFPlaceholder::message() const { return m_label->text(); }

}  // namespace zfw
