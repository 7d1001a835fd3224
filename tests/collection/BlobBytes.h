#pragma once
// Writes solution blobs byte by byte, independent of the program's writer.
#include <cstdint>
#include <string>
#include <vector>

namespace karvena::test {

class TBlobBytes {
public:
    std::vector<uint8_t> bytes;
    TBlobBytes& Int(int32_t v) {
        for (int s = 0; s < 32; s += 8)
            bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> s));
        return *this;
    }
    TBlobBytes& Byte(uint8_t b) {
        bytes.push_back(b);
        return *this;
    }
    TBlobBytes& Text(const std::string& s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    // One node record with `surplus` extra bytes counted in its size after the text.
    TBlobBytes& Record(const std::string& text, const std::string& flags, const std::string& remark,
                       int children, int surplus = 0, int32_t image = 0, int32_t userData = 0) {
        Int(static_cast<int32_t>(39 + text.size() + surplus));
        Int(image).Int(0).Int(0).Int(0);
        Byte(0).Byte(0).Byte(1).Byte(0).Byte(0).Byte(0);
        Int(userData)
            .Int(static_cast<int32_t>(flags.size()))
            .Int(static_cast<int32_t>(remark.size()));
        Int(children).Byte(static_cast<uint8_t>(text.size())).Text(text);
        bytes.insert(bytes.end(), surplus, 0xEE);
        return Text(flags).Text(remark);
    }
};

} // namespace karvena::test
