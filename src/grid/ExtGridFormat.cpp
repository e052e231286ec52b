#include "grid/ExtGridFormat.h"

#include <QLocale>

namespace zfw {

namespace {

// Width and precision are capped so that a stored pattern cannot ask for huge texts.
constexpr int kMaxWidth = 64;

struct Conversion {
    bool left = false;
    int width = -1;
    int precision = -1;
    char16_t type = 0;
};

struct Parsed {
    QString before;
    QString after;
    std::optional<Conversion> conv;
};

bool readNumber(const QString& p, qsizetype& i, int& out)
{
    const qsizetype start = i;
    int v = 0;
    while (i < p.size() && p.at(i) >= u'0' && p.at(i) <= u'9') {
        v = v * 10 + (p.at(i).unicode() - u'0');
        if (v > kMaxWidth)
            return false;
        ++i;
    }
    out = v;
    return i > start;
}

std::optional<Parsed> parse(const QString& p)
{
    Parsed r;
    QString* text = &r.before;
    for (qsizetype i = 0; i < p.size(); ++i) {
        if (p.at(i) != u'%') {
            *text += p.at(i);
            continue;
        }
        if (++i >= p.size())
            return std::nullopt;
        if (p.at(i) == u'%') {
            *text += u'%';
            continue;
        }
        if (r.conv)
            return std::nullopt;  // one value, one conversion
        Conversion c;
        // An argument index may only name the one value.
        if (p.at(i) >= u'0' && p.at(i) <= u'9') {
            qsizetype j = i;
            int n = 0;
            if (readNumber(p, j, n) && j < p.size() && p.at(j) == u':') {
                if (n != 0)
                    return std::nullopt;
                i = j + 1;
            }
        }
        if (i < p.size() && p.at(i) == u'-') {
            c.left = true;
            ++i;
        }
        if (i < p.size() && p.at(i) >= u'0' && p.at(i) <= u'9' && !readNumber(p, i, c.width))
            return std::nullopt;
        if (i < p.size() && p.at(i) == u'.') {
            ++i;
            if (!readNumber(p, i, c.precision))
                return std::nullopt;
        }
        if (i >= p.size())
            return std::nullopt;
        c.type = QChar(p.at(i)).toLower().unicode();
        r.conv = c;
        text = &r.after;
    }
    return r;
}

QString pad(QString s, const Conversion& c)
{
    if (c.width > s.size())
        s = c.left ? s.leftJustified(c.width) : s.rightJustified(c.width);
    return s;
}

}  // namespace

std::optional<QString> FormatFloatPattern(const QString& pattern, double value)
{
    const std::optional<Parsed> p = parse(pattern);
    if (!p)
        return std::nullopt;
    if (!p->conv)
        return p->before;
    const Conversion& c = *p->conv;
    const QLocale c_locale = QLocale::c();
    QString body;
    switch (c.type) {
    case u'f': body = QString::number(value, 'f', c.precision < 0 ? 2 : c.precision); break;
    case u'e': body = QString::number(value, 'e', c.precision < 0 ? 15 : c.precision); break;
    case u'g': body = QString::number(value, 'g', c.precision < 0 ? 15 : c.precision); break;
    case u'n': {
        QLocale grouped = c_locale;
        grouped.setNumberOptions({});
        body = grouped.toString(value, 'f', c.precision < 0 ? 2 : c.precision);
        break;
    }
    default: return std::nullopt;
    }
    return p->before + pad(body, c) + p->after;
}

std::optional<QString> FormatIntPattern(const QString& pattern, long long value)
{
    const std::optional<Parsed> p = parse(pattern);
    if (!p)
        return std::nullopt;
    if (!p->conv)
        return p->before;
    const Conversion& c = *p->conv;
    QString digits;
    bool negative = false;
    switch (c.type) {
    case u'd':
        negative = value < 0;
        digits = QString::number(negative ? -(value + 1) + 1ULL : (unsigned long long)value);
        break;
    case u'u': digits = QString::number((unsigned long long)value); break;
    case u'x': digits = QString::number((unsigned long long)value, 16).toUpper(); break;
    default: return std::nullopt;
    }
    if (c.precision > digits.size())
        digits = digits.rightJustified(c.precision, u'0');
    return p->before + pad(negative ? u'-' + digits : digits, c) + p->after;
}

}  // namespace zfw
