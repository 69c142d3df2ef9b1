// sutakiba-image: makes an application image from compiled objects and a
// project description.
//
//   sutakiba-image --project FILE [--runtime EXE --exe OUT] [--dev-dir DIR]
//                  [--image FILE] [--plugin-dir DIR] OBJECT...
//
// --exe writes a copy of the runtime executable with the image appended,
// --dev-dir the four development files, --image the bare image. The plug-in
// libraries the description names are read from --plugin-dir.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "CoffObject.h"
#include "ImageBuilder.h"
#include "ImageWriter.h"
#include "ProjectDescription.h"
#include "ToolError.h"

namespace {

struct Options {
    std::string project;
    std::string runtime;
    std::string exe;
    std::string devDir;
    std::string image;
    std::string pluginDir;
    std::vector<std::string> objects;
};

constexpr const char* kUsage =
    "usage: sutakiba-image --project FILE [--runtime EXE --exe OUT] [--dev-dir DIR] [--image FILE]\n"
    "                      [--plugin-dir DIR] OBJECT...\n";

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) throw imagetool::ToolError(std::string(argument) + " needs a value");
            into = argv[++i];
        };
        if (argument == "--project") {
            value(options.project);
        } else if (argument == "--runtime") {
            value(options.runtime);
        } else if (argument == "--exe") {
            value(options.exe);
        } else if (argument == "--dev-dir") {
            value(options.devDir);
        } else if (argument == "--image") {
            value(options.image);
        } else if (argument == "--plugin-dir") {
            value(options.pluginDir);
        } else if (argument.starts_with("--")) {
            throw imagetool::ToolError("unknown option " + std::string(argument));
        } else {
            options.objects.emplace_back(argument);
        }
    }
    if (options.project.empty()) throw imagetool::ToolError("no --project given");
    if (options.objects.empty()) throw imagetool::ToolError("no object files given");
    if (options.exe.empty() != options.runtime.empty()) throw imagetool::ToolError("--exe and --runtime go together");
    if (options.exe.empty() && options.devDir.empty() && options.image.empty()) {
        throw imagetool::ToolError("no output asked for (--exe, --dev-dir or --image)");
    }
    return options;
}

void run(const Options& options) {
    imagetool::ProjectDescription project = imagetool::loadProjectDescription(options.project);
    imagetool::loadPluginLibraries(project, options.pluginDir);
    std::vector<imagetool::CoffObject> objects;
    for (const std::string& path : options.objects) objects.push_back(imagetool::loadCoffObject(path));
    const imagetool::BuiltImage image = imagetool::buildImage(objects, project);
    if (!options.exe.empty()) {
        imagetool::writeFile(options.exe,
                             imagetool::attachImage(options.runtime, imagetool::readWholeFile(options.runtime), image));
    }
    if (!options.devDir.empty()) imagetool::writeDevelopmentFiles(image, options.devDir);
    if (!options.image.empty()) imagetool::writeFile(options.image, imagetool::imageContainer(image));
}

}  // namespace

int main(int argc, char** argv) {
    try {
        run(parseOptions(argc, argv));
        return 0;
    } catch (const imagetool::ToolError& error) {
        std::fprintf(stderr, "sutakiba-image: %s\n", error.what());
        if (std::strstr(error.what(), "no --project") || std::strstr(error.what(), "no object files")) {
            std::fputs(kUsage, stderr);
        }
        return 1;
    }
}
