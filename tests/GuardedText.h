#pragma once

#include <QString>

#include <cstddef>

// A long text of which only the first memory page can be read: reading further crashes. Shows
// that code reads no more of a text than it needs.
class GuardedText {
public:
    // `length` characters; the readable page holds `pattern` over and over.
    GuardedText(qsizetype length, QStringView pattern);
    ~GuardedText();
    GuardedText(const GuardedText&) = delete;
    GuardedText& operator=(const GuardedText&) = delete;

    // The text over the guarded memory, not a copy of it.
    [[nodiscard]] QString text() const
    {
        return QString::fromRawData(static_cast<const QChar*>(memory_), length_);
    }

private:
    void* memory_;
    std::size_t bytes_;
    qsizetype length_;
};
