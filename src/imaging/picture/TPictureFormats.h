#pragma once

#include "imaging/picture/TGraphic.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The picture types the program knows, by file extension. One registry for the process;
// each picture type registers itself once at start-up.
class TPictureFormats {
public:
    using Factory = std::function<std::unique_ptr<TGraphic>()>;
    struct Format {
        std::string extension; // lower case, without the dot
        std::string description;
        Factory factory;
    };

    static TPictureFormats& instance();

    // A second registration of an extension replaces the first.
    void add(const std::string& extension, const std::string& description, Factory factory);
    // With or without the leading dot, in any letter case.
    bool contains(const std::string& extension) const;
    // A new empty picture of the type, or nullptr for an unknown extension.
    std::unique_ptr<TGraphic> create(const std::string& extension) const;
    std::string description(const std::string& extension) const;
    // "Description (*.ext)|*.ext" for every format in the order of registration, joined by
    // "|".
    std::string filter() const;
    std::vector<Format> formats() const;

private:
    TPictureFormats() = default;
    // formats_.size() when the extension is unknown.
    std::size_t indexOf(const std::string& extension) const;
    const Format* find(const std::string& extension) const;
    static std::string normalised(const std::string& extension);

    mutable std::mutex mutex_;
    std::vector<Format> formats_;
};
