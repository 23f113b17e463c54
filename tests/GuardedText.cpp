// The POSIX implementation: an anonymous mapping whose pages after the first are made unreadable.
#include "GuardedText.h"

#include <sys/mman.h>
#include <unistd.h>

QString guardedText(qsizetype length, QStringView pattern)
{
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t bytes = static_cast<std::size_t>(length) * sizeof(QChar);
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        qFatal("guardedText: no memory mapped");
    auto* chars = static_cast<QChar*>(memory);
    for (std::size_t i = 0; i < page / sizeof(QChar); ++i)
        chars[i] = pattern[static_cast<qsizetype>(i) % pattern.size()];
    if (bytes > page && mprotect(chars + page / sizeof(QChar), bytes - page, PROT_NONE) != 0)
        qFatal("guardedText: memory not guarded");
    return QString::fromRawData(chars, length);
}
