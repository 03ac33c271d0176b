#pragma once

#include <QByteArray>
#include <QByteArrayView>

// SHA-256 through the system's crypto library, which uses the processor's own SHA instructions
// where it has them: the change log hashes each line it writes, and a check of a long log
// hashes every line again, some ten times faster so than a portable implementation.
namespace store {

class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    // Begins a new digest.
    void Reset();
    void Add(QByteArrayView bytes);
    // The digest of what was added since Reset, as 64 lower-case hexadecimal digits.
    QByteArray HexResult();
    // Whether the digest of what was added since Reset is `hex` (as HexResult gives it), without
    // making a text of it: a check of a long log compares a digest per line.
    bool ResultIs(QByteArrayView hex);

private:
    void Finish(char* hex); // 64 digits
    struct Context;
    Context* context_;
};

// The digest of `bytes` in one go, as HexResult gives it.
QByteArray Sha256Hex(QByteArrayView bytes);

} // namespace store
