#include "shell/UPlaceholder.h"

#include "shell/Forms.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace zfw {

TFPlaceholder::TFPlaceholder(const FormInfo& info, QWidget* parent) : TForm(parent)
{
    setObjectName(QLatin1String(info.className));
    setWindowTitle(QLatin1String(info.title));
    m_label = new QLabel(QStringLiteral("%1: this window is not available in this version yet.")
                             .arg(QLatin1String(info.title)),
                         this);
    m_label->setWordWrap(true);
    // Closing is a Cancel: a caller that acts on OK must find nothing done.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(buttons);
    setFixedClientSize(360, 110);
}

QString TFPlaceholder::message() const { return m_label->text(); }

}  // namespace zfw
