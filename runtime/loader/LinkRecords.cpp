#include "loader/LinkRecords.h"

#include "loader/ImageFormat.h"

namespace runtime::loader {

LinkRecordReader::Status LinkRecordReader::next(LinkRecord& record) {
    using image::LinkRecordKind;
    while (position_ < records_.size()) {
        const auto start = position_;
        const size_t left = records_.size() - start;
        const uint8_t* bytes = records_.data() + start;
        const auto kind = static_cast<LinkRecordKind>(bytes[0]);
        if (kind == LinkRecordKind::Import) {
            if (left < image::kImportRecordFixedSize ||
                left - image::kImportRecordFixedSize < bytes[image::kImportRecordFixedSize - 1]) {
                truncatedAt_ = static_cast<uint32_t>(start);
                return Status::Truncated;
            }
            const uint8_t nameLength = bytes[image::kImportRecordFixedSize - 1];
            record = LinkRecord{LinkRecord::Kind::Import, static_cast<uint32_t>(start), image::readU32(bytes + 1),
                                {reinterpret_cast<const char*>(bytes + image::kImportRecordFixedSize), nameLength}};
            position_ = start + image::kImportRecordFixedSize + nameLength;
            return Status::Record;
        }
        if (kind == LinkRecordKind::DataReference) {
            if (left < image::kDataReferenceRecordSize) {
                truncatedAt_ = static_cast<uint32_t>(start);
                return Status::Truncated;
            }
            record = LinkRecord{LinkRecord::Kind::DataReference, static_cast<uint32_t>(start),
                                image::readU32(bytes + 1), {}};
            position_ = start + image::kDataReferenceRecordSize;
            return Status::Record;
        }
        ++position_;  // not a record: skipped
    }
    return Status::End;
}

}  // namespace runtime::loader
