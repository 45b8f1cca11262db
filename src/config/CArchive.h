#pragma once
// The binary archive of document files: little-endian integers and doubles, length-prefixed
// strings and tagged object arrays, in the byte layout the document file has always had. It
// works on an in-memory buffer, so a document can be written beside its file and renamed.
//
// Storing:
//     CArchive archive;                        // an empty storing archive
//     archive.writeObjectArray(statDetectors); // any range of objects, pointers or unique_ptrs
//     archive.writeString(inputFileName);
//     archive.writeInt32(lanesDir1);
//     save(archive.buffer());
// Loading:
//     CArchive archive(bytes);                 // a loading archive over the file's bytes
//     auto detectors = archive.readObjectArray<CStatDetector>();
//     std::string name = archive.readString();
//     if (!archive.atEnd()) ...                // trailing bytes are the caller's decision
// Every read throws ArchiveError when the bytes run out or do not fit the layout; nothing is
// allocated for a length or count larger than the bytes that are left.
//
// A class kept in an object array provides:
//     static constexpr const char* archiveClassName;  // e.g. "CStatDetector"
//     static constexpr std::uint16_t archiveSchema;   // 1
//     static constexpr std::size_t archiveSize;       // bytes of its record
//     void store(CArchive&) const;  void load(CArchive&);  and a default constructor.

#include "config/ArchiveError.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class CArchive
{
public:
    // A storing archive with an empty buffer.
    CArchive();
    // A loading archive over `bytes`.
    explicit CArchive(std::vector<std::uint8_t> bytes);

    bool isStoring() const { return storing; }
    bool isLoading() const { return !storing; }

    // The bytes written so far (storing) or the bytes being read (loading).
    const std::vector<std::uint8_t>& buffer() const { return bytes; }
    std::size_t bytesLeft() const { return bytes.size() - readPosition; }
    bool atEnd() const { return bytesLeft() == 0; }

    void writeUInt8(std::uint8_t value);
    void writeUInt16(std::uint16_t value);
    void writeUInt32(std::uint32_t value);
    void writeInt32(std::int32_t value);
    void writeDouble(double value);
    // Throws ArchiveError for a string longer than a 32-bit length can tell.
    void writeString(std::string_view text);

    std::uint8_t readUInt8();
    std::uint16_t readUInt16();
    std::uint32_t readUInt32();
    std::int32_t readInt32();
    double readDouble();
    std::string readString();

    // Element count of an object array: 16 bits, or 0xFFFF and 32 bits.
    void writeCount(std::size_t count);
    // Refuses a count whose elements could not fit in the bytes left, at
    // minimumElementSize bytes each.
    std::size_t readCount(std::size_t minimumElementSize);

    // The reference in front of each object of an array: the class's full tag the first time
    // it is met in this archive, its index afterwards. Takes the object's index too.
    void writeObjectTag(std::string_view className, std::uint16_t schema);
    // Refuses anything but a new object of the given class and schema.
    void readObjectTag(std::string_view className, std::uint16_t schema);

    template <class Range>
    void writeObjectArray(const Range& objects);

    template <class Object>
    std::vector<std::unique_ptr<Object>> readObjectArray();

private:
    static constexpr std::uint16_t newClassTag = 0xFFFF;
    static constexpr std::uint16_t classTagBit = 0x8000;
    static constexpr std::uint16_t bigTag = 0x7FFF;
    static constexpr std::uint32_t bigClassTagBit = 0x80000000u;

    // Throws when fewer than `count` bytes are left.
    void require(std::size_t count) const;
    std::uint32_t takeIndex();

    // The object an array element stands for: the element itself, or what it points to.
    template <class Element>
    static const auto& objectOf(const Element& element)
    {
        if constexpr (std::is_pointer_v<Element> || requires { element.get(); })
            return *element;
        else
            return element;
    }

    bool storing;
    std::vector<std::uint8_t> bytes;
    std::size_t readPosition = 0;
    // One counter per archive numbers classes and objects alike, from 1.
    std::uint32_t nextIndex = 1;
    std::map<std::string, std::uint32_t, std::less<>> classIndexByName;
    std::map<std::uint32_t, std::string> classNameByIndex;
};

template <class Range>
void CArchive::writeObjectArray(const Range& objects)
{
    writeCount(static_cast<std::size_t>(std::size(objects)));
    for (const auto& element : objects)
    {
        const auto& object = objectOf(element);
        using Object = std::remove_cvref_t<decltype(object)>;
        writeObjectTag(Object::archiveClassName, Object::archiveSchema);
        object.store(*this);
    }
}

template <class Object>
std::vector<std::unique_ptr<Object>> CArchive::readObjectArray()
{
    // Each element takes at least a 2-byte reference and its record.
    const std::size_t count = readCount(2 + Object::archiveSize);
    std::vector<std::unique_ptr<Object>> objects;
    objects.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
    {
        readObjectTag(Object::archiveClassName, Object::archiveSchema);
        auto object = std::make_unique<Object>();
        object->load(*this);
        objects.push_back(std::move(object));
    }
    return objects;
}
