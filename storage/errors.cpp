#include "storage/errors.h"

namespace storage {

std::string errorText(int code) {
    switch (code) {
        case error::kNone:
            return "";
        case error::kFileNotFound:
            return "File Not Found";
        case error::kFileLocked:
            return "File Is Already Locked";
        case error::kRecordNotAvailable:
            return "Record Not Available";
        case error::kRecordNotFound:
            return "Record Not Found";
        case error::kDuplicateKey:
            return "Creates Duplicate Key";
        case error::kKeyFileInvalid:
            return "Key File Must Be Rebuilt";
        case error::kInvalidDeclaration:
            return "Invalid Record Declaration";
        case error::kFileAlreadyOpen:
            return "File Already Open";
        case error::kChangedByAnotherStation:
            return "Record Changed By Another Station";
        case error::kDriverError:
            return "File System Error";
        default:
            return "Error " + std::to_string(code);
    }
}

ErrorState success() { return {}; }

ErrorState failure(int code) {
    ErrorState e;
    e.code = code;
    e.text = errorText(code);
    return e;
}

ErrorState failure(int code, int driverCode, std::string driverText) {
    ErrorState e = failure(code);
    e.driverCode = driverCode;
    e.driverText = std::move(driverText);
    return e;
}

ErrorState driverFailure(int driverCode, std::string driverText) {
    return failure(error::kDriverError, driverCode, std::move(driverText));
}

}  // namespace storage
