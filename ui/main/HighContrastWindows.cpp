// Windows: its high-contrast setting. Its light standard schemes come close to black on white
// (wine's button face is 19.3:1 against black text) without being high-contrast schemes.
#include "HighContrast.h"

#include <windows.h>

bool HighContrast::isOn(const QPalette& /*palette*/)
{
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof(setting);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, setting.cbSize, &setting, 0) != 0 &&
           (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}
