// Error numbers of the recording file reader. File errors (1001..1037) have
// texts that may name the file; header and protocol errors (2001..2033) do not.
// AbfFormatErrorText (abf/Abf.h) turns a number into its text.
#pragma once

// File errors.
constexpr int ABF_EUNKNOWNFILETYPE = 1001;
constexpr int ABF_EBADFILEINDEX = 1002;
constexpr int ABF_ETOOMANYFILESOPEN = 1003;
constexpr int ABF_EOPENFILE = 1004;
constexpr int ABF_EINVALIDFILE = 1005;
constexpr int ABF_EREADDATA = 1006;
constexpr int ABF_EOUTOFMEMORY = 1008;
constexpr int ABF_EREADSYNCH = 1009;
constexpr int ABF_EBADSYNCH = 1010;
constexpr int ABF_EEPISODERANGE = 1011;
constexpr int ABF_EINVALIDCHANNEL = 1012;
constexpr int ABF_EEPISODESIZE = 1013;
constexpr int ABF_EREADONLYFILE = 1014;
constexpr int ABF_EDISKFULL = 1015;
constexpr int ABF_ENOTAGS = 1016;
constexpr int ABF_EREADTAG = 1017;
constexpr int ABF_ENOSYNCHPRESENT = 1018;
constexpr int ABF_EREADDACEPISODE = 1019;
constexpr int ABF_ENOWAVEFORM = 1020;
constexpr int ABF_EBADWAVEFORM = 1021;
constexpr int ABF_EBADMATHCHANNEL = 1022;
constexpr int ABF_EBADTEMPFILE = 1023;
constexpr int ABF_ENOFILEHANDLES = 1025;
constexpr int ABF_ENOSCOPESPRESENT = 1026;
constexpr int ABF_EREADSCOPECONFIG = 1027;
constexpr int ABF_EBADCRC = 1028;
constexpr int ABF_ENOCOMPRESSION = 1029;
constexpr int ABF_EREADDELTA = 1030;
constexpr int ABF_ENODELTAS = 1031;
constexpr int ABF_EBADDELTAID = 1032;
constexpr int ABF_EWRITEONLYFILE = 1033;
constexpr int ABF_ENOSTATISTICSCONFIG = 1034;
constexpr int ABF_EREADSTATISTICSCONFIG = 1035;
constexpr int ABF_EWRITERAWDATAFILE = 1036;
constexpr int ABF_EWRITEMATHCHANNEL = 1037;

// Header and protocol errors.
constexpr int ABF_HEHEADERREAD = 2001;
constexpr int ABF_HEHEADERWRITE = 2002;
constexpr int ABF_HEINVALIDFILE = 2003;
constexpr int ABF_HEUNKNOWNFILETYPE = 2004;
constexpr int ABF_HECHANNELNOTSAMPLED = 2005;
constexpr int ABF_HEEPOCHNOTPRESENT = 2006;
constexpr int ABF_HENOWAVEFORM = 2007;
constexpr int ABF_HEDACFILEWAVEFORM = 2008;
constexpr int ABF_HENOMEMORY = 2009;
constexpr int ABF_HEBADSAMPLEINTERVAL = 2010;
constexpr int ABF_HEBADSECONDSAMPLEINTERVAL = 2011;
constexpr int ABF_HEBADSAMPLEINTERVALS = 2012;
constexpr int ABF_HELISTTRAINSDISABLED = 2013;
constexpr int ABF_HELISTTRAINTOOLONG = 2014;
constexpr int ABF_HELISTPULSECOUNT = 2015;
constexpr int ABF_HELISTBASELINEDURATION = 2016;
constexpr int ABF_HELISTBASELINELEVEL = 2017;
constexpr int ABF_HELISTPOSTTRAINDURATION = 2018;
constexpr int ABF_HELISTPOSTTRAINLEVEL = 2019;
constexpr int ABF_HELISTSTARTTOSTART = 2020;
constexpr int ABF_HELISTINACTIVEHOLDING = 2021;
constexpr int ABF_HELISTINVALIDCHARS = 2022;
constexpr int ABF_HELISTDIGITALDISABLED = 2023;
constexpr int ABF_HELISTDIGITALHOLDING = 2024;
constexpr int ABF_HELISTLEAKDISABLED = 2025;
constexpr int ABF_HELISTLEAKSUBSWEEPS = 2026;
constexpr int ABF_HELISTEPOCHDISABLED = 2027;
constexpr int ABF_HELISTWAVEFORMTOOLONG = 2028;
constexpr int ABF_HELISTEPOCHLEVEL = 2029;
constexpr int ABF_HELISTDIGITALPATTERN = 2030;
constexpr int ABF_HELISTTRAINSTEPDURATION = 2031;
constexpr int ABF_HELISTTRAINSTEPLEVEL = 2032;
constexpr int ABF_HELISTBINARYCHARS = 2033;

// Texts in the message table that are not errors.
constexpr int ABF_TEXT_TAGHEADINGEPISODIC = 1;
constexpr int ABF_TEXT_TAGHEADING = 2;
constexpr int ABF_TEXT_NONE = 3;
constexpr int ABF_TEXT_NOMESSAGE = 4;
constexpr int ABF_TEXT_MATHCHANNEL = 5;
