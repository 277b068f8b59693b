#include "support/Photographs.h"

#include "support/ReferenceTool.h"

#include <map>

namespace Photographs {

namespace {

const std::filesystem::path Folder = "/usr/lib/python3/dist-packages/skimage/data";

const std::map<std::string, std::string>& files() {
    static const std::map<std::string, std::string> files{
        {"astronaut", "astronaut.png"},
        {"brick", "brick.png"},
        {"camera", "camera.png"},
        {"chelsea", "chelsea.png"},
        {"coffee", "coffee.png"},
        {"coins", "coins.png"},
        {"grass", "grass.png"},
        {"gravel", "gravel.png"},
        {"hubble", "hubble_deep_field.jpg"},
        {"ihc", "ihc.png"},
        {"moon", "moon.png"},
        {"motorcycle", "motorcycle_left.png"},
        {"retina", "retina.jpg"},
        {"rocket", "rocket.jpg"},
    };
    return files;
}

} // namespace

const std::vector<std::string>& names() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> names;
        for (const auto& [name, file] : files()) {
            names.push_back(name);
        }
        return names;
    }();
    return names;
}

std::optional<RgbPicture> load(const std::string& name) {
    const std::filesystem::path source = Folder / files().at(name);
    if (!std::filesystem::exists(source) || !referenceToolExists("convert")) {
        return std::nullopt;
    }
    static const std::filesystem::path work = freshTestFolder("trevano-photographs");
    const std::filesystem::path converted = work / (name + ".ppm");
    if (!std::filesystem::exists(converted) &&
        runReferenceTool({"convert", source.string(), "-alpha", "off", "-depth", "8", "-strip",
                          converted.string()}) != 0) {
        return std::nullopt;
    }
    return readPpm(converted);
}

} // namespace Photographs
