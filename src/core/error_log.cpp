#include "error_log.h"

std::string errorLogRecord(std::string dateTime, const std::vector<std::string> &entries) {
    std::string record = "\r\n" + std::move(dateTime);
    for (const std::string &entry : entries) {
        record += "\r\n";
        record += entry;
    }
    record += "\r\n";
    return record;
}
