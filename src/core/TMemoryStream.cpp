#include "core/TMemoryStream.h"

#include "core/TFileStream.h"

#include <algorithm>
#include <cstring>

std::size_t TMemoryStream::read(void* buffer, std::size_t count) {
    if (position_ >= bytes_.size()) {
        return 0;
    }
    const std::size_t n = std::min(count, bytes_.size() - position_);
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

std::size_t TMemoryStream::write(const void* buffer, std::size_t count) {
    if (count == 0) {
        return 0;
    }
    const std::size_t end = position_ + count;
    if (end > bytes_.size()) {
        if (end > bytes_.capacity()) {
            bytes_.reserve(std::max(end, bytes_.capacity() * 2));
        }
        bytes_.resize(end);
    }
    std::memcpy(bytes_.data() + position_, buffer, count);
    position_ = end;
    return count;
}

std::int64_t TMemoryStream::seek(std::int64_t offset, SeekOrigin origin) {
    std::int64_t base = 0;
    if (origin == SeekOrigin::Current) {
        base = static_cast<std::int64_t>(position_);
    } else if (origin == SeekOrigin::End) {
        base = size();
    }
    position_ = static_cast<std::size_t>(std::max<std::int64_t>(0, base + offset));
    return static_cast<std::int64_t>(position_);
}

void TMemoryStream::setSize(std::int64_t size) {
    bytes_.resize(static_cast<std::size_t>(std::max<std::int64_t>(0, size)));
}

void TMemoryStream::clear() {
    bytes_.clear();
    bytes_.shrink_to_fit();
    position_ = 0;
}

void TMemoryStream::loadFromStream(TStream& source) {
    source.setPosition(0);
    const std::int64_t count = source.size();
    setSize(count);
    position_ = 0;
    source.readBuffer(bytes_.data(), static_cast<std::size_t>(count));
}

void TMemoryStream::loadFromFile(const std::string& fileName) {
    TFileStream file(fileName, TFileStream::Mode::OpenRead);
    loadFromStream(file);
}

void TMemoryStream::saveToFile(const std::string& fileName) const {
    TFileStream file(fileName, TFileStream::Mode::Create);
    file.writeBuffer(bytes_.data(), bytes_.size());
}
