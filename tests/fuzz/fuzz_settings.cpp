// The settings file: parsing, the settings read from it, a change written back.
#include "fuzz_support.h"

#include "core/inifile.h"
#include "core/options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    core::IniFile file = core::IniFile::fromBytes(fuzz::bytes(data, size));
    (void)core::LoadSettings(file);
    (void)file.keyBuffer(u"Option Select", QStringLiteral("999"), 255);
    (void)file.setValue(u"Option Select", u"rinkaku", QStringLiteral("1"));
    const core::IniFile again = core::IniFile::fromBytes(file.toBytes());
    if (again.value(u"Option Select", u"rinkaku") != QStringLiteral("1"))
        __builtin_trap();
    return 0;
}
