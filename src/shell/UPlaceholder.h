#pragma once
// Stand-in for a window that this version does not have yet: it says so and closes.

#include "platform/Form.h"

class QLabel;

namespace zfw {

struct FormInfo;

class TFPlaceholder final : public TForm {
    Q_OBJECT
public:
    TFPlaceholder(const FormInfo& info, QWidget* parent);

    QString message() const;

private:
    QLabel* m_label = nullptr;
};

}  // namespace zfw
