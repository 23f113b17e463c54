// The Windows implementation: reserved pages whose pages after the first are made inaccessible.
#include "GuardedText.h"

#include <windows.h>

GuardedText::GuardedText(qsizetype length, QStringView pattern)
    : length_(length)
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const std::size_t page = info.dwPageSize;
    bytes_ = (static_cast<std::size_t>(length) * sizeof(QChar) + page - 1) / page * page;
    memory_ = VirtualAlloc(nullptr, bytes_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (memory_ == nullptr)
        qFatal("GuardedText: no memory allocated");
    auto* chars = static_cast<QChar*>(memory_);
    for (std::size_t i = 0; i < page / sizeof(QChar); ++i)
        chars[i] = pattern[static_cast<qsizetype>(i) % pattern.size()];
    DWORD previous = 0;
    if (bytes_ > page && VirtualProtect(static_cast<char*>(memory_) + page, bytes_ - page,
                                        PAGE_NOACCESS, &previous) == 0)
        qFatal("GuardedText: memory not guarded");
}

GuardedText::~GuardedText()
{
    VirtualFree(memory_, 0, MEM_RELEASE);
}
