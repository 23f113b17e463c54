// The POSIX implementation: an anonymous mapping whose pages after the first are made unreadable.
#include "GuardedText.h"

#include <sys/mman.h>
#include <unistd.h>

GuardedText::GuardedText(qsizetype length, QStringView pattern)
    : length_(length)
{
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    bytes_ = (static_cast<std::size_t>(length) * sizeof(QChar) + page - 1) / page * page;
    memory_ = mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory_ == MAP_FAILED)
        qFatal("GuardedText: no memory mapped");
    auto* chars = static_cast<QChar*>(memory_);
    for (std::size_t i = 0; i < page / sizeof(QChar); ++i)
        chars[i] = pattern[static_cast<qsizetype>(i) % pattern.size()];
    if (bytes_ > page &&
        mprotect(static_cast<char*>(memory_) + page, bytes_ - page, PROT_NONE) != 0)
        qFatal("GuardedText: memory not guarded");
}

GuardedText::~GuardedText()
{
    munmap(memory_, bytes_);
}
