#pragma once
// Operations on mini-HTML cell texts that need no drawing.

#include <QString>

namespace zfw {

// "<BR>" and "<HR>" (any case) become CR LF, then every tag is removed. At a "<" with no ">"
// after it the removal stops and the rest is kept as written. Entities stay encoded.
QString HtmlToPlainText(const QString& text);

}  // namespace zfw
