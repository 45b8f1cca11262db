#include "config/CArchive.h"

#include <bit>
#include <cstring>
#include <limits>

CArchive::CArchive() : storing(true) {}

CArchive::CArchive(std::vector<std::uint8_t> content) : storing(false), bytes(std::move(content)) {}

void CArchive::writeUInt8(std::uint8_t value)
{
    bytes.push_back(value);
}

void CArchive::writeUInt16(std::uint16_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void CArchive::writeUInt32(std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void CArchive::writeInt32(std::int32_t value)
{
    writeUInt32(static_cast<std::uint32_t>(value));
}

void CArchive::writeDouble(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int shift = 0; shift < 64; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
}

void CArchive::writeString(std::string_view text)
{
    const std::size_t length = text.size();
    if (length < 0xFF)
    {
        writeUInt8(static_cast<std::uint8_t>(length));
    }
    else if (length < 0xFFFE)
    {
        writeUInt8(0xFF);
        writeUInt16(static_cast<std::uint16_t>(length));
    }
    else
    {
        if (length > std::numeric_limits<std::uint32_t>::max())
            throw ArchiveError("string too long for the archive");
        writeUInt8(0xFF);
        writeUInt16(0xFFFF);
        writeUInt32(static_cast<std::uint32_t>(length));
    }
    bytes.insert(bytes.end(), text.begin(), text.end());
}

void CArchive::require(std::size_t count) const
{
    if (storing)
        throw ArchiveError("reading from a storing archive");
    if (count > bytesLeft())
        throw ArchiveError("archive ends early");
}

std::uint8_t CArchive::readUInt8()
{
    require(1);
    return bytes[readPosition++];
}

std::uint16_t CArchive::readUInt16()
{
    require(2);
    const auto value = static_cast<std::uint16_t>(bytes[readPosition] | (bytes[readPosition + 1] << 8));
    readPosition += 2;
    return value;
}

std::uint32_t CArchive::readUInt32()
{
    require(4);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | bytes[readPosition + static_cast<std::size_t>(i)];
    readPosition += 4;
    return value;
}

std::int32_t CArchive::readInt32()
{
    return static_cast<std::int32_t>(readUInt32());
}

double CArchive::readDouble()
{
    require(8);
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | bytes[readPosition + static_cast<std::size_t>(i)];
    readPosition += 8;
    return std::bit_cast<double>(bits);
}

std::string CArchive::readString()
{
    std::size_t length = readUInt8();
    if (length == 0xFF)
    {
        length = readUInt16();
        // 0xFFFE announces a wide-character string, which this program never writes.
        if (length == 0xFFFE)
            throw ArchiveError("wide-character string in the archive");
        if (length == 0xFFFF)
            length = readUInt32();
    }
    require(length);
    std::string text(reinterpret_cast<const char*>(bytes.data() + readPosition), length);
    readPosition += length;
    return text;
}

void CArchive::writeCount(std::size_t count)
{
    if (count < 0xFFFF)
    {
        writeUInt16(static_cast<std::uint16_t>(count));
        return;
    }
    if (count > std::numeric_limits<std::uint32_t>::max())
        throw ArchiveError("too many objects for the archive");
    writeUInt16(0xFFFF);
    writeUInt32(static_cast<std::uint32_t>(count));
}

std::size_t CArchive::readCount(std::size_t minimumElementSize)
{
    std::size_t count = readUInt16();
    if (count == 0xFFFF)
        count = readUInt32();
    if (minimumElementSize > 0 && count > bytesLeft() / minimumElementSize)
        throw ArchiveError("object count larger than the archive");
    return count;
}

std::uint32_t CArchive::takeIndex()
{
    if (nextIndex == std::numeric_limits<std::uint32_t>::max() >> 1)
        throw ArchiveError("too many objects for the archive");
    return nextIndex++;
}

void CArchive::writeObjectTag(std::string_view className, std::uint16_t schema)
{
    const auto known = classIndexByName.find(className);
    if (known == classIndexByName.end())
    {
        if (className.size() > 0xFFFF)
            throw ArchiveError("class name too long for the archive");
        classIndexByName.emplace(std::string(className), takeIndex());
        writeUInt16(newClassTag);
        writeUInt16(schema);
        writeUInt16(static_cast<std::uint16_t>(className.size()));
        bytes.insert(bytes.end(), className.begin(), className.end());
    }
    else if (known->second < bigTag)
    {
        writeUInt16(static_cast<std::uint16_t>(classTagBit | known->second));
    }
    else
    {
        writeUInt16(bigTag);
        writeUInt32(bigClassTagBit | known->second);
    }
    takeIndex();
}

void CArchive::readObjectTag(std::string_view className, std::uint16_t schema)
{
    const std::uint16_t tag = readUInt16();
    if (tag == newClassTag)
    {
        const std::uint16_t storedSchema = readUInt16();
        const std::uint16_t nameLength = readUInt16();
        require(nameLength);
        const std::string_view storedName(reinterpret_cast<const char*>(bytes.data() + readPosition), nameLength);
        if (storedName != className || storedSchema != schema)
            throw ArchiveError("unexpected class in the archive");
        readPosition += nameLength;
        const std::uint32_t index = takeIndex();
        classNameByIndex.emplace(index, std::string(className));
    }
    else
    {
        std::uint32_t classIndex = 0;
        if (tag == bigTag)
        {
            const std::uint32_t bigValue = readUInt32();
            if ((bigValue & bigClassTagBit) == 0)
                throw ArchiveError("object back-reference in the archive");
            classIndex = bigValue & ~bigClassTagBit;
        }
        else if ((tag & classTagBit) != 0)
        {
            classIndex = tag & ~classTagBit;
        }
        else
        {
            // A null or repeated object: this program writes every element as a new object.
            throw ArchiveError("object back-reference in the archive");
        }
        const auto known = classNameByIndex.find(classIndex);
        if (known == classNameByIndex.end() || known->second != className)
            throw ArchiveError("unexpected class in the archive");
    }
    takeIndex();
}
