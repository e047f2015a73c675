#pragma once
// Bounds-checked little-endian reads from a byte span. Callers test Has() first;
// the readers themselves never read past the end.

#include <cstddef>
#include <cstdint>
#include <span>

namespace vistrel {

class ByteView {
public:
    explicit ByteView(std::span<const uint8_t> data) : m_data(data) {}

    size_t size() const { return m_data.size(); }
    bool Has(uint64_t offset, uint64_t length) const
    {
        return offset <= m_data.size() && length <= m_data.size() - offset;
    }
    uint8_t U8(size_t offset) const { return Has(offset, 1) ? m_data[offset] : 0; }
    uint16_t U16(size_t offset) const
    {
        return Has(offset, 2) ? uint16_t(m_data[offset] | (m_data[offset + 1] << 8)) : 0;
    }
    uint32_t U32(size_t offset) const
    {
        return Has(offset, 4) ? uint32_t(m_data[offset]) | (uint32_t(m_data[offset + 1]) << 8) |
                                    (uint32_t(m_data[offset + 2]) << 16) |
                                    (uint32_t(m_data[offset + 3]) << 24)
                              : 0;
    }
    int32_t S32(size_t offset) const { return int32_t(U32(offset)); }
    const uint8_t* At(size_t offset) const { return m_data.data() + offset; }
    std::span<const uint8_t> Sub(size_t offset, size_t length) const
    {
        return Has(offset, length) ? m_data.subspan(offset, length) : std::span<const uint8_t>();
    }

private:
    std::span<const uint8_t> m_data;
};

} // namespace vistrel
