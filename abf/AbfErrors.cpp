#include "abf/Abf.h"
#include "abf/AbfMessageTable.h"

#include <cstdio>
#include <cstring>

const AbfMessage kAbfMessages[] = {
    {ABF_EUNKNOWNFILETYPE, "File '%s' is of unknown file type."},
    {ABF_EBADFILEINDEX, "INTERNAL ERROR: bad file index."},
    {ABF_ETOOMANYFILESOPEN, "INTERNAL ERROR: too many files open."},
    {ABF_EOPENFILE, "Cannot open file '%s'."},
    {ABF_EINVALIDFILE, "File '%s' has invalid parameters."},
    {ABF_EREADDATA, "File '%s': error reading data."},
    {ABF_EOUTOFMEMORY, "Out of memory reading file '%s'."},
    {ABF_EREADSYNCH, "File '%s': error reading synch array."},
    {ABF_EBADSYNCH, "File '%s': has a corrupted synch array."},
    {ABF_EEPISODERANGE, "INTERNAL ERROR: File '%s': episode out of range."},
    {ABF_EINVALIDCHANNEL, "INTERNAL ERROR: File '%s': invalid channel number."},
    {ABF_EEPISODESIZE, "File '%s': has an invalid episode size."},
    {ABF_EREADONLYFILE, "INTERNAL ERROR: file '%s' is read only."},
    {ABF_EDISKFULL, "Disk full writing file '%s'."},
    {ABF_ENOTAGS, "INTERNAL ERROR: File '%s' does not contain any tag information."},
    {ABF_EREADTAG, "Error reading tag from file '%s'."},
    {ABF_ENOSYNCHPRESENT, "INTERNAL ERROR: No synch array is present in file '%s'."},
    {ABF_EREADDACEPISODE, "Error reading DAC episode from file '%s'."},
    {ABF_ENOWAVEFORM, "INTERNAL ERROR: No waveform defined."},
    {ABF_EBADWAVEFORM, "INTERNAL ERROR: Bad waveform definition."},
    {ABF_EBADMATHCHANNEL, "INTERNAL ERROR: Bad math channel description."},
    {ABF_EBADTEMPFILE, "Could not create a temporary file."},
    {ABF_ENOFILEHANDLES, "No DOS file handles were available - too many files open."},
    {ABF_ENOSCOPESPRESENT,
     "INTERNAL ERROR: File '%s' does not contain any scope configuration information."},
    {ABF_EREADSCOPECONFIG, "Error reading scope configuration from file '%s'."},
    {ABF_EBADCRC, "INTERNAL ERROR: Bad CRC on reading ABF file -- file may be corrupted."},
    {ABF_ENOCOMPRESSION, "Data compression is not supported on this platform."},
    {ABF_EREADDELTA, "Error reading delta from file '%s'."},
    {ABF_ENODELTAS, "INTERNAL ERROR: File '%s' does not contain any delta information."},
    {ABF_EBADDELTAID, "INTERNAL ERROR: ABFDelta has an unknown parameter ID."},
    {ABF_EWRITEONLYFILE, "INTERNAL ERROR: file '%s' is write only."},
    {ABF_ENOSTATISTICSCONFIG, "INTERNAL ERROR: File '%s' does not contain a statistics window "
                              "configuration structure."},
    {ABF_EREADSTATISTICSCONFIG,
     "INTERNAL ERROR: Error reading statistics window configuration from file '%s'."},
    {ABF_EWRITERAWDATAFILE, "INTERNAL ERROR: Cannot modify raw data files."},
    {ABF_EWRITEMATHCHANNEL, "INTERNAL ERROR: Cannot modify math channels."},

    {ABF_HEHEADERREAD, "Error reading file header."},
    {ABF_HEHEADERWRITE, "Error writing file header."},
    {ABF_HEINVALIDFILE, "Not a valid ABF file."},
    {ABF_HEUNKNOWNFILETYPE, "Not a valid ABF file."},
    {ABF_HECHANNELNOTSAMPLED, "The requested Analog IN channel was not sampled."},
    {ABF_HEEPOCHNOTPRESENT, "The requested epoch is not present."},
    {ABF_HENOWAVEFORM, "No waveform was defined."},
    {ABF_HEDACFILEWAVEFORM, "Waveform was defined by a DAC file."},
    {ABF_HENOMEMORY, "Out of memory!"},
    {ABF_HEBADSAMPLEINTERVAL, "Invalid sample interval."},
    {ABF_HEBADSECONDSAMPLEINTERVAL, "Invalid second sample interval."},
    {ABF_HEBADSAMPLEINTERVALS,
     "The first and second sampling intervals must be integer multiples of each other."},
    {ABF_HELISTTRAINSDISABLED, "There is an error in the User List.\n\nConditioning trains must "
                               "be enabled in order to vary this parameter."},
    {ABF_HELISTTRAINTOOLONG,
     "There is an error in the User List.\n\nThe conditioning train duration is too long.  Either "
     "reduce the duration or increase the sweep start to start time."},
    {ABF_HELISTPULSECOUNT, "There is an error in the User List.\n\nThe number of pulses in the "
                           "conditioning train must be between 1 and 10000."},
    {ABF_HELISTBASELINEDURATION, "There is an error in the User List.\n\nThe conditioning train "
                                 "baseline duration must be between 0.01 and 10000 ms."},
    {ABF_HELISTBASELINELEVEL,
     "There is an error in the User List.\n\nThe conditioning train baseline level is out of "
     "range."},
    {ABF_HELISTPOSTTRAINDURATION, "There is an error in the User List.\n\nThe conditioning train "
                                  "post-train duration must be between 0 and 10000 ms."},
    {ABF_HELISTPOSTTRAINLEVEL,
     "There is an error in the User List.\n\nThe conditioning train post-train level is out of "
     "range."},
    {ABF_HELISTSTARTTOSTART,
     "There is an error in the User List.\n\nThe time between sweep starts is too short."},
    {ABF_HELISTINACTIVEHOLDING,
     "There is an error in the User List.\n\nThe inactive analog OUT holding level is out of "
     "range."},
    {ABF_HELISTINVALIDCHARS, "The User List contains invalid characters.\n\nValid characters "
                             "are: 0..9 E e + - ."},
    {ABF_HELISTBINARYCHARS, "The User List contains invalid characters.\n\nValid characters for "
                            "binary values are: 0 1 ,"},
    {ABF_HELISTDIGITALDISABLED, "There is an error in the User List.\n\nThe waveform digital "
                                "outputs must be enabled in order to vary this parameter."},
    {ABF_HELISTDIGITALHOLDING, "There is an error in the User List.\n\nThe waveform digital "
                               "inter-sweep holding level is out of range."},
    {ABF_HELISTLEAKDISABLED, "There is an error in the User List.\n\nP/N leak subtraction must "
                             "be enabled in order to vary this parameter."},
    {ABF_HELISTLEAKSUBSWEEPS, "There is an error in the User List.\n\nThe number of P/N leak "
                              "subtraction sub-sweeps must be between 1 and 8."},
    {ABF_HELISTEPOCHDISABLED,
     "There is an error in the User List.\n\nThe waveform epoch requested in the user list must "
     "be enabled in order to vary this parameter."},
    {ABF_HELISTWAVEFORMTOOLONG,
     "There is an error in the User List.\n\nThe waveform duration is too long.  Either reduce "
     "the duration or increase the sweep start to start time."},
    {ABF_HELISTEPOCHLEVEL,
     "There is an error in the User List.\n\nThe waveform initial level is out of range."},
    {ABF_HELISTDIGITALPATTERN,
     "There is an error in the User List.\n\nThe waveform digital pattern is out of range."},
    {ABF_HELISTTRAINSTEPLEVEL,
     "There is an error in the User List.\n\nThe conditioning train step level is out of range."},
    {ABF_HELISTTRAINSTEPDURATION, "There is an error in the User List.\n\nThe conditioning train "
                                  "step duration must be between 0.01 and 10000 ms."},

    {ABF_TEXT_NOMESSAGE, "INTERNAL ERROR: No message string assigned to error %d."},
    {ABF_TEXT_TAGHEADINGEPISODIC, "Tag #    Time (s)  Episode  Comment"},
    {ABF_TEXT_TAGHEADING, "Tag #    Time (s)   Comment"},
    {ABF_TEXT_NONE, "<none>"},
    {ABF_TEXT_MATHCHANNEL, "Math"},
};

const size_t kAbfMessageCount = sizeof(kAbfMessages) / sizeof(kAbfMessages[0]);

const AbfMessage* AbfFindMessage(int32_t id) {
    for (size_t i = 0; i < kAbfMessageCount; ++i)
        if (kAbfMessages[i].id == id)
            return &kAbfMessages[i];
    return nullptr;
}

namespace {

constexpr size_t kWorkingSize = 128;

// Copies `text` into `buffer` of `size` (at least 1) characters, cut and terminated.
void CopyCut(const char* text, char* buffer, size_t size) {
    size_t n = std::strlen(text);
    if (n > size - 1)
        n = size - 1;
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
}

// Puts `fileName` in place of every "%s" of `text`. Only "%s" is a
// placeholder, so a name with '%' in it or a text with another directive
// cannot reach a formatting function.
void FormatWithName(const char* text, const char* fileName, char* buffer, size_t size) {
    size_t out = 0;
    auto put = [&](char c) {
        if (out < size - 1)
            buffer[out++] = c;
    };
    for (const char* p = text; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            for (const char* q = fileName; *q; ++q)
                put(*q);
            ++p;
        } else {
            put(*p);
        }
    }
    buffer[out] = '\0';
}

bool Fallback(int errorNumber, char* buffer, size_t size) {
    char working[kWorkingSize];
    std::snprintf(working, sizeof working, AbfFindMessage(ABF_TEXT_NOMESSAGE)->text, errorNumber);
    CopyCut(working, buffer, size);
    return false;
}

} // namespace

bool AbfFormatErrorText(int errorNumber, const char* fileName, char* buffer, uint32_t bufferSize) {
    if (bufferSize < 2 || !buffer)
        return false;
    const AbfMessage* message = AbfFindMessage(errorNumber);
    if (!message)
        return Fallback(errorNumber, buffer, bufferSize);
    if (errorNumber < ABF_HEHEADERWRITE) {
        char working[kWorkingSize];
        CopyCut(message->text, working, sizeof working);
        FormatWithName(working, fileName ? fileName : "", buffer, bufferSize);
    } else {
        CopyCut(message->text, buffer, bufferSize);
    }
    return true;
}
