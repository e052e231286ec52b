#include "common/LanguageDefaults.h"

namespace zfw {

namespace {
// Messages of the M-Bus network checks. The register-conflict messages are pieced together
// around the node and variable descriptions: the opening texts end with a double quote, the
// middle ones begin and end with one, the closing ones begin with one.
constexpr LangText kMBus[] = {
    {1787, "Error!! ModBus Register already use in the Node \""},
    {1788, "\" (Node State)"},
    {1789, "Error!! ModBus Register already use in the Node \""},
    {1790, "\" (Identification Number)"},
    {1791, "Error!! ModBus Register already use in the Node \""},
    {1792, "\" (RSSI)"},
    {1793, "Error!! ModBus Register Scale already use in the Node \""},
    {1794, "\" (Node State)"},
    {1795, "Error!! ModBus Register Scale already use in the Node \""},
    {1796, "\" (Identification Number)"},
    {1797, "Error!! ModBus Register Scale already use in the Node \""},
    {1798, "\" (RSSI)"},
    {1799, "Error!! Time Point Registers already use in the Node \""},
    {1800, "\" (Node State)"},
    {1801, "Error!! Time Point Registers already use in the Node \""},
    {1802, "\" (Identification Number)"},
    {1803, "Error!! Time Point Registers already use in the Node \""},
    {1804, "\" (RSSI)"},
    {1805, "Error!! ModBus Register already use in the Node \""},
    {1806, "\", Variable \""},
    {1807, "\" (Modbus Register)"},
    {1811, "Error!! ModBus Register already use in the Node \""},
    {1812, "\", Variable \""},
    {1813, "\" (Time Point)"},
    {1814, "Error!! ModBus Register Scale already use in the Node \""},
    {1815, "\", Variable \""},
    {1816, "\" (Modbus Register)"},
    {1820, "Error!! ModBus Register Scale already use in the Node \""},
    {1821, "\", Variable \""},
    {1822, "\" (Time Point)"},
    {1823, "Error!! Time Point Registers already use in the Node \""},
    {1824, "\", Variable \""},
    {1825, "\" (Modbus Register)"},
    {1829, "Error!! Time Point Registers already use in the Node \""},
    {1830, "\", Variable \""},
    {1831, "\" (Time Point)"},
    {1835, "Error!! Position Data must be between 1 and 1536"},
    {1838, "Error!! Storage Number must be between 0x00000000 and 0xFFFFFFFF"},
    {1839, "Error!! Tariff must be between 0x00000 and 0xFFFFF"},
    {1840, "Error!! Length (Variable Len) must be between 0 and 191"},
    {1841, "Error!! Year Time Point Register must be between 1 and 59995"},
    {1842, "Error!! ModBus Register and Time Point Registers must be different"},
    {1844, "Error!! Variable position must be between 1 and 512"},
    {1845, "Error!! Manufacturer Id must be between 0x0000 and 0xFFFF"},
    {1846, "Error!! Address must be between 0x00000000 and 0xFFFFFF"},
    {1847, "Error!! Version must be between 0x00 and 0xFF"},
    {1848, "Error!! Device Type must be between 0x00 and 0xFF"},
    {1849, "Error!! Key (Byte 1) must be between 0x00 and 0xFF"},
    {1850, "Error!! Key (Byte 2) must be between 0x00 and 0xFF"},
    {1851, "Error!! Key (Byte 3) must be between 0x00 and 0xFF"},
    {1852, "Error!! Key (Byte 4) must be between 0x00 and 0xFF"},
    {1853, "Error!! Key (Byte 5) must be between 0x00 and 0xFF"},
    {1854, "Error!! Key (Byte 6) must be between 0x00 and 0xFF"},
    {1855, "Error!! Key (Byte 7) must be between 0x00 and 0xFF"},
    {1856, "Error!! Key (Byte 8) must be between 0x00 and 0xFF"},
    {1857, "Error!! Key (Byte 9) must be between 0x00 and 0xFF"},
    {1858, "Error!! Key (Byte 10) must be between 0x00 and 0xFF"},
    {1859, "Error!! Key (Byte 11) must be between 0x00 and 0xFF"},
    {1860, "Error!! Key (Byte 12) must be between 0x00 and 0xFF"},
    {1861, "Error!! Key (Byte 13) must be between 0x00 and 0xFF"},
    {1862, "Error!! Key (Byte 14) must be between 0x00 and 0xFF"},
    {1863, "Error!! Key (Byte 15) must be between 0x00 and 0xFF"},
    {1864, "Error!! Key (Byte 16) must be between 0x00 and 0xFF"},
    {1865, "Error!! Modbus Node State must be between 0 and 59999"},
    {1866, "Error!! Modbus Identification Number must be between 0 and 59999"},
    {1867, "Error!! Modbus RSSI must be between 0 and 59999"},
    {1868, "Error!! Modbus Access Number must be between 0 and 59999"},
    {1869, "Error!! Node State Register must be different from the Identification Number "
           "Register"},
    {1870, "Error!! RSSI Register must be different from the Identification Number Register"},
    {1871, "Error!! Access Number Register must be different from the Identification Number "
           "Register"},
    {1872, "Error!! RSSI Register must be different from the Node State Register"},
    {1873, "Error!! Access Number Register must be different from the Node State Register"},
    {1874, "Error!! Access Number Register must be different from the RSSI Register"},
    {1875, "Error!! Primary ID Node M-Bus must be between 0 and 255"},
    {1876, "Error!! Secondary ID Node M-Bus must be between 0 and 99999999"},
    {1877, "Error!! Modbus Node State must be between 0 and 1536"},
    {1878, "Error!! Modbus Identification Number must be between 0 and 1536"},
    {1879, "Error!! Node State Register must be different from the Identification Number "
           "Register"},
    {1880, "Error!! Manufacturer Specific Data must be between 0 and 1536"},
    {1881, "Error!! Manufacturer Specific Data must be different from the Identification "
           "Number Register"},
    {1882, "Error!! Manufacturer Specific Data must be different from the Node State Register"},
    {1883, "Error!! Length of Manufacturer Specific Data must be between 1 and 241"},
    {1884, "Error!! Offset of Manufacturer Specific Data must be between 0 and 240"},
    {1885, "Error!! Length plus Offset of Manufacturer Specific Data must be less than or equal "
           "to 241"},
    {1886, "Error!! Access Number Register must be between 0 and 1536"},
    {1887, "Error!! Access Number Register must be different from the Identification Number "
           "Register"},
    {1888, "Error!! Access Number Register must be different from the Node State Register"},
    {1889, "Error!! Access Number Register must be different from the Manufacturer Specific "
           "Data Register"},
    {1890, "Error!! ID Node is already used"},
    {1891, "Error!! ID Node is already used"},
    {1892, "Error!! ID Node is already used"},
};
}  // namespace

std::span<const LangText> languageDefaultsMBus() { return kMBus; }

}  // namespace zfw
