#include "imaging/picture/TPictureFormats.h"

#include <algorithm>
#include <cctype>

TPictureFormats& TPictureFormats::instance() {
    static TPictureFormats registry;
    return registry;
}

std::string TPictureFormats::normalised(const std::string& extension) {
    std::string result = extension.starts_with('.') ? extension.substr(1) : extension;
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::size_t TPictureFormats::indexOf(const std::string& extension) const {
    const std::string key = normalised(extension);
    const auto it = std::find_if(formats_.begin(), formats_.end(),
                                 [&key](const Format& format) { return format.extension == key; });
    return static_cast<std::size_t>(it - formats_.begin());
}

const TPictureFormats::Format* TPictureFormats::find(const std::string& extension) const {
    const std::size_t index = indexOf(extension);
    return index < formats_.size() ? &formats_[index] : nullptr;
}

void TPictureFormats::add(const std::string& extension, const std::string& description,
                          Factory factory) {
    std::lock_guard lock(mutex_);
    Format format{normalised(extension), description, std::move(factory)};
    const std::size_t index = indexOf(extension);
    if (index < formats_.size()) {
        formats_[index] = std::move(format);
    } else {
        formats_.push_back(std::move(format));
    }
}

bool TPictureFormats::contains(const std::string& extension) const {
    std::lock_guard lock(mutex_);
    return find(extension) != nullptr;
}

std::unique_ptr<TGraphic> TPictureFormats::create(const std::string& extension) const {
    Factory factory;
    {
        std::lock_guard lock(mutex_);
        const Format* format = find(extension);
        if (format == nullptr) {
            return nullptr;
        }
        factory = format->factory;
    }
    return factory();
}

std::string TPictureFormats::description(const std::string& extension) const {
    std::lock_guard lock(mutex_);
    const Format* format = find(extension);
    return format == nullptr ? std::string() : format->description;
}

std::string TPictureFormats::filter() const {
    std::lock_guard lock(mutex_);
    std::string result;
    for (const Format& format : formats_) {
        if (!result.empty()) {
            result += '|';
        }
        const std::string pattern = "*." + format.extension;
        result += format.description + " (" + pattern + ")|" + pattern;
    }
    return result;
}

std::vector<TPictureFormats::Format> TPictureFormats::formats() const {
    std::lock_guard lock(mutex_);
    return formats_;
}
