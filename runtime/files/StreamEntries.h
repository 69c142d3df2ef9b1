// Entry routines of the text and binary streams. Arguments are borrowed; a
// returned object or string belongs to the caller. Failures are silent: open
// and create give nil, short reads give 0, 0.0 or the empty string, write
// errors are ignored, and every call on a closed stream does nothing.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

RUNTIME_ENTRY ObjectHandle FolderItemOpenTextFile(ObjectHandle item);
RUNTIME_ENTRY ObjectHandle FolderItemCreateTextFile(ObjectHandle item);
RUNTIME_ENTRY ObjectHandle FolderItemAppendTextFile(ObjectHandle item);
RUNTIME_ENTRY StringHandle TextInputStreamReadLine(ObjectHandle stream);
RUNTIME_ENTRY StringHandle TextInputStreamReadAll(ObjectHandle stream);
RUNTIME_ENTRY bool TextInputStreamEOF(ObjectHandle stream);
RUNTIME_ENTRY void TextInputStreamClose(ObjectHandle stream);
RUNTIME_ENTRY void TextOutputStreamWrite(ObjectHandle stream, StringHandle text);
RUNTIME_ENTRY void TextOutputStreamWriteLine(ObjectHandle stream, StringHandle text);
RUNTIME_ENTRY void TextOutputStreamClose(ObjectHandle stream);

RUNTIME_ENTRY ObjectHandle FolderItemOpenBinaryFile(ObjectHandle item, bool readWrite);
RUNTIME_ENTRY ObjectHandle FolderItemCreateBinaryFile(ObjectHandle item);
RUNTIME_ENTRY void BinaryStreamClose(ObjectHandle stream);
RUNTIME_ENTRY bool BinaryStreamEOF(ObjectHandle stream);
RUNTIME_ENTRY int32_t BinaryStreamGetLength(ObjectHandle stream);
RUNTIME_ENTRY void BinaryStreamSetLength(ObjectHandle stream, int32_t length);
RUNTIME_ENTRY int32_t BinaryStreamGetPosition(ObjectHandle stream);
RUNTIME_ENTRY void BinaryStreamSetPosition(ObjectHandle stream, int32_t position);
RUNTIME_ENTRY int32_t BinaryStreamReadByte(ObjectHandle stream);
RUNTIME_ENTRY int32_t BinaryStreamReadShort(ObjectHandle stream);
RUNTIME_ENTRY int32_t BinaryStreamReadLong(ObjectHandle stream);
RUNTIME_ENTRY double BinaryStreamReadFloat(ObjectHandle stream);
RUNTIME_ENTRY double BinaryStreamReadDouble(ObjectHandle stream);
RUNTIME_ENTRY StringHandle BinaryStreamReadPString(ObjectHandle stream);
RUNTIME_ENTRY StringHandle BinaryStreamRead(ObjectHandle stream, int32_t count);
RUNTIME_ENTRY void BinaryStreamWriteByte(ObjectHandle stream, int32_t value);
RUNTIME_ENTRY void BinaryStreamWriteShort(ObjectHandle stream, int32_t value);
RUNTIME_ENTRY void BinaryStreamWriteLong(ObjectHandle stream, int32_t value);
RUNTIME_ENTRY void BinaryStreamWriteFloat(ObjectHandle stream, double value);
RUNTIME_ENTRY void BinaryStreamWriteDouble(ObjectHandle stream, double value);
RUNTIME_ENTRY void BinaryStreamWritePString(ObjectHandle stream, StringHandle text);
RUNTIME_ENTRY void BinaryStreamWrite(ObjectHandle stream, StringHandle text);

namespace runtime {
// Class hooks: closing the file of a stream that goes away.
void finaliseTextInputStream(ObjectHandle stream, ClassRecord*);
void finaliseTextOutputStream(ObjectHandle stream, ClassRecord*);
void finaliseBinaryStream(ObjectHandle stream, ClassRecord*);
void finaliseFolderItem(ObjectHandle item, ClassRecord*);
}  // namespace runtime
