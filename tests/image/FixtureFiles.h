// Where the image tool's tests find their fixtures: sources in the source tree,
// objects compiled for the image in the build folder.
#pragma once

#include <string>
#include <vector>

#include "CoffObject.h"
#include "ProjectDescription.h"

namespace image_test {

inline std::string fixtureSource(const std::string& name) { return std::string(FIXTURE_SOURCES) + "/" + name; }

// An object of an image target ("strings_image", "Strings.cpp") or of the
// refused fixtures ("refused", "NotACall.S").
inline std::string fixtureObject(const std::string& folder, const std::string& source) {
    const std::string suffix = folder == "refused" ? "" : ".objects";
    return std::string(FIXTURE_OBJECTS) + "/" + folder + suffix + "/" + source + ".o";
}

inline std::vector<imagetool::CoffObject> loadObjects(const std::vector<std::string>& paths) {
    std::vector<imagetool::CoffObject> objects;
    for (const std::string& path : paths) objects.push_back(imagetool::loadCoffObject(path));
    return objects;
}

inline imagetool::ProjectDescription entryProject() {
    return imagetool::loadProjectDescription(fixtureSource("entry.project"));
}

}  // namespace image_test
