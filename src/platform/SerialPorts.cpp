#include "platform/SerialPorts.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace zfw {

namespace {

// Splits "ttyUSB10" into "ttyUSB" and "10".
void splitTrailingNumber(QStringView name, QStringView& stem, QStringView& digits)
{
    qsizetype i = name.size();
    while (i > 0 && name[i - 1] >= u'0' && name[i - 1] <= u'9')
        --i;
    stem = name.left(i);
    digits = name.mid(i);
}

// Compares digit strings by value without converting, so that no length can overflow.
int compareNumbers(QStringView a, QStringView b)
{
    while (a.size() > 1 && a.front() == u'0')
        a = a.mid(1);
    while (b.size() > 1 && b.front() == u'0')
        b = b.mid(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

bool portNameLess(const QString& a, const QString& b)
{
    QStringView stemA, digitsA, stemB, digitsB;
    splitTrailingNumber(a, stemA, digitsA);
    splitTrailingNumber(b, stemB, digitsB);
    if (const int c = stemA.compare(stemB); c != 0)
        return c < 0;
    if (digitsA.isEmpty() != digitsB.isEmpty())
        return digitsA.isEmpty();
    if (const int c = compareNumbers(digitsA, digitsB); c != 0)
        return c < 0;
    return a < b;
}

}  // namespace

QStringList sortPortNames(QStringList names)
{
    std::sort(names.begin(), names.end(), portNameLess);
    return names;
}

QStringList Get_COM_Port_List()
{
    QStringList names;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : ports) {
        if (!port.portName().isEmpty())
            names.append(port.portName());
    }
    names.removeDuplicates();
    return sortPortNames(std::move(names));
}

}  // namespace zfw
