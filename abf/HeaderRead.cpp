// Recognising the kind of a file, reading its 2048-byte header and bringing it
// to the normalised form every later step relies on.
#include "abf/Abf.h"
#include "abf/AbfInternal.h"

#include <cmath>
#include <cstring>

namespace {

constexpr uint32_t kSignature = 0x20464241;         // "ABF "
constexpr uint32_t kSignatureReversed = 0x41424620; // " FBA"
constexpr size_t kRecogniseBytes = 40;

// True when x = m * 2^e (0.5 <= |m| < 1) has |e| <= 4, i.e. x is 0 or of a
// magnitude an old parameter block can hold in its first and ninth value.
bool PlausibleMagnitude(float x) {
    if (!std::isfinite(x))
        return true;
    int e = 0;
    std::frexp(x, &e);
    return e >= -4 && e <= 4;
}

bool PlausibleMagnitudes(const float* p) {
    return PlausibleMagnitude(p[0]) && PlausibleMagnitude(p[8]);
}

void ConvertFromMsBinary(float* p, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        uint32_t bits;
        std::memcpy(&bits, &p[i], 4);
        p[i] = AbfMsBinaryToIeee(bits);
    }
}

} // namespace

void AbfNormaliseSections(AbfHeader* h) {
    if (h->synchEntryCount < 1 || h->synchFirstBlock < 1) {
        h->synchEntryCount = 0;
        h->synchFirstBlock = 0;
    }
    if (!(h->dacRange > 1e-10f))
        h->dacRange = 10.0f;
    if (h->stimulusEpisodeCount < 1 || h->stimulusFirstBlock < 1) {
        h->stimulusEpisodeCount = 0;
        h->stimulusFirstBlock = 0;
        if (h->waveformSource == 2)
            h->waveformSource = 0;
    }
}

namespace {

void NormaliseSettings(AbfHeader* h) {
    if (h->oneOfMinus2028 != -2 && h->oneOfMinus2028 != -3)
        h->oneOfMinus2028 = -1;
    if (!(h->atLeastMilli2022 >= 0.001f))
        h->atLeastMilli2022 = 0.1f;
    if (h->normalised1936 == 0)
        h->normalised1936 = 1;
    if (h->normalised1860 < 1)
        h->normalised1860 = 1;
    if (h->pair1980 == 0 && h->pair1982 == 0) {
        h->pair1980 = 64;
        h->pair1982 = 1;
    }
    if (!std::strchr("+-*/", h->mathOperator[0]) || h->mathOperator[0] == '\0') {
        h->mathOperator[0] = '+';
        h->mathOperator[1] = ' ';
    }
    if (h->mathExpression >= 2)
        h->mathExpression = 0;
}

} // namespace

float AbfMsBinaryToIeee(uint32_t bits) {
    const int exponent = static_cast<int>(bits >> 24);
    if (exponent == 0)
        return 0.0f;
    const bool negative = (bits >> 23) & 1;
    const double mantissa = 1.0 + double(bits & 0x7FFFFF) / double(1 << 23);
    const float value = static_cast<float>(std::ldexp(mantissa, exponent - 129));
    return negative ? -value : value;
}

int AbfRecogniseFile(int fd, int16_t* kind, float* version, bool* msBinaryFormat) {
    unsigned char bytes[kRecogniseBytes];
    if (!AbfReadAt(fd, 0, bytes, sizeof bytes))
        return ABF_HEUNKNOWNFILETYPE;
    uint32_t first;
    std::memcpy(&first, bytes, 4);
    *msBinaryFormat = false;
    if (first == kSignatureReversed)
        return ABF_HEUNKNOWNFILETYPE;
    if (first == kSignature) {
        *kind = ABF_KIND_ABF;
        std::memcpy(version, bytes + 4, 4);
        return 0;
    }
    if (std::memcmp(bytes, "ATF", 3) == 0)
        return ABF_HEUNKNOWNFILETYPE;

    float p[10];
    std::memcpy(p, bytes, sizeof p);
    if (PlausibleMagnitudes(p)) {
        if (p[0] < 0 || p[8] < 0) {
            ConvertFromMsBinary(p, 10);
            *msBinaryFormat = true;
        }
    } else {
        // A parameter block in Microsoft Binary Format read as IEEE floats has
        // implausible magnitudes by construction (its exponent byte lands in
        // the sign and exponent bits). Such a block is recognised when its
        // converted values pass the test instead.
        if (!(p[0] < 0 || p[8] < 0))
            return ABF_HEUNKNOWNFILETYPE;
        ConvertFromMsBinary(p, 10);
        if (!PlausibleMagnitudes(p))
            return ABF_HEUNKNOWNFILETYPE;
        *msBinaryFormat = true;
    }
    if (p[0] == 0 || std::isnan(p[0]))
        p[0] = 10;
    if (p[0] == 1)
        *kind = ABF_KIND_OLD1;
    else if (p[0] == 10)
        *kind = ABF_KIND_OLD10;
    else
        return ABF_HEUNKNOWNFILETYPE;
    if (p[1] < 0 || p[2] < 0 || p[8] < 0)
        return ABF_HEUNKNOWNFILETYPE;
    *version = p[8];
    return 0;
}

int AbfReadHeader(AbfFile* file, AbfHeader* header) {
    int16_t kind = 0;
    float version = 0;
    bool msBinary = false;
    if (int rc = AbfRecogniseFile(file->fd, &kind, &version, &msBinary))
        return rc;

    if (kind != ABF_KIND_ABF) {
        if (int rc = AbfImportOldFormat(file, header, kind, msBinary))
            return rc;
        header->headerVersion = 1.5f;
        NormaliseSettings(header);
        return 0;
    }

    if (!(version >= 1.0f && version < 2.0f))
        return ABF_HEINVALIDFILE;
    std::memset(header, 0, sizeof *header);
    uint64_t available = file->fileSize;
    size_t toRead = available < sizeof *header ? size_t(available) : sizeof *header;
    bool complete = toRead == sizeof *header && AbfReadAt(file->fd, 0, header, toRead);
    AbfNormaliseSections(header);
    if (!complete)
        return ABF_HEHEADERREAD;
    if (version < 1.5f)
        AbfUpgradeHeader(header, version, file->name);
    header->headerVersion = 1.5f;
    header->fileKind = ABF_KIND_ABF;
    header->msBinaryFormat = 0;
    NormaliseSettings(header);
    return 0;
}
