// The Windows implementation: committed pages whose pages after the first are made inaccessible.
#include "GuardedText.h"

#include <windows.h>

QString guardedText(qsizetype length, QStringView pattern)
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const std::size_t page = info.dwPageSize;
    const std::size_t bytes = static_cast<std::size_t>(length) * sizeof(QChar);
    void* memory = VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (memory == nullptr)
        qFatal("guardedText: no memory allocated");
    auto* chars = static_cast<QChar*>(memory);
    for (std::size_t i = 0; i < page / sizeof(QChar); ++i)
        chars[i] = pattern[static_cast<qsizetype>(i) % pattern.size()];
    DWORD previous = 0;
    if (bytes > page &&
        VirtualProtect(chars + page / sizeof(QChar), bytes - page, PAGE_NOACCESS, &previous) == 0)
        qFatal("guardedText: memory not guarded");
    return QString::fromRawData(chars, length);
}
