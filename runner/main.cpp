// planroad: opens a drawing, loads the module, runs a command script and saves the result.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "RunnerOptions.h"
#include "arxhost/Session.h"
#include "dxf/ReadError.h"
#include "dxf/drawing/DrawingReader.h"
#include "dxf/drawing/DrawingWriter.h"
#include "ole/ExcelServer.h"
#ifdef PLANROAD_HAVE_RENDER
#include "render/Renderer.h"
#endif
#include "text/Utf8.h"

namespace {

int fail(const std::string& message)
{
    std::fprintf(stderr, "planroad: %s\n", message.c_str());
    return 2;
}

std::filesystem::path runnerFolder()
{
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() : self.parent_path();
}

std::filesystem::path defaultModule()
{
    // The module sits beside the runner in the build, and in ../lib/planroad once installed.
    std::error_code ec;
    std::filesystem::path dir = runnerFolder();
    std::filesystem::path beside = dir / "planroad.arx";
    if (std::filesystem::exists(beside, ec))
        return beside;
    return dir / ".." / "lib" / "planroad" / "planroad.arx";
}

// The configuration root when --config is not given: share/planroad/config beside the runner's bin
// folder, where the installation puts it and where the build copies the repository's config folder.
// Empty (no configuration) when it is not there.
std::filesystem::path defaultConfigRoot()
{
    std::error_code ec;
    std::filesystem::path root = runnerFolder() / ".." / "share" / "planroad" / "config";
    return std::filesystem::is_directory(root, ec) ? root.lexically_normal() : std::filesystem::path();
}

bool readScript(const std::filesystem::path& file, std::wstring& text, std::string& error)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot read script " + file.string();
        return false;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string utf8 = bytes.str();
    if (utf8.rfind("\xEF\xBB\xBF", 0) == 0)
        utf8.erase(0, 3);
    text = arxhost::fromUtf8(utf8);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    std::optional<planroad::RunnerOptions> options = planroad::parseRunnerOptions(args, error);
    if (!options)
        return fail(error + " (planroad --help shows the usage)");
    if (options->help) {
        std::fputs(planroad::runnerUsage(), stdout);
        return 0;
    }
    dxf::WriteOptions saveOptions;
    if (options->saveVersion && !dxf::parseVersion(*options->saveVersion, saveOptions.version))
        return fail(
            "unknown DXF version " + *options->saveVersion + " (R2000, R2004, R2007, R2010, R2013 or R2018)");
    if (options->saveVersion && !options->save)
        return fail("--save-version needs --save");
    if (options->configRoot && !std::filesystem::is_directory(*options->configRoot))
        return fail("configuration folder " + options->configRoot->string() + " does not exist");
    // A user data folder that is not there yet is made when a dialog first stores its data.
    std::error_code userDataError;
    if (options->userDataDir && std::filesystem::exists(*options->userDataDir, userDataError)
        && !std::filesystem::is_directory(*options->userDataDir, userDataError))
        return fail("user data folder " + options->userDataDir->string() + " is not a folder");

#ifndef PLANROAD_HAVE_RENDER
    if (options->render)
        return fail("--render: this build cannot draw pictures (it was built without cairo and pango)");
#else
    if (options->render && !arxhost::render::formatOf(*options->render))
        return fail("--render: " + options->render->string() + " must end in .png, .svg or .pdf");
#endif

    std::wstring scriptText;
    if (options->script && !readScript(*options->script, scriptText, error))
        return fail(error);

    arxhost::ole::ExcelServer::instance().setInstalled(!options->noExcel);
    const bool interactive = !options->script && isatty(STDIN_FILENO) != 0;
    arxhost::SessionOptions sessionOptions;
    sessionOptions.strict = false;
    sessionOptions.echoInput = !interactive;
    sessionOptions.statusBarIsTerminal = isatty(STDERR_FILENO) != 0;
    sessionOptions.configRoot = options->configRoot ? *options->configRoot : defaultConfigRoot();
    if (options->userDataDir)
        sessionOptions.userDataDir = *options->userDataDir;
    // The drawing is read before the session starts, so that a bad file loads nothing.
    std::unique_ptr<AcDbDatabase> drawing;
    if (options->drawing) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(*options->drawing, ec))
            return fail("cannot open " + options->drawing->string() + ": no such file");
        try {
            drawing = dxf::readDrawingFile(*options->drawing);
        } catch (const dxf::ReadError& e) {
            return fail("cannot read " + options->drawing->string() + ": " + e.what());
        }
    }
    arxhost::Session session(sessionOptions);
    if (drawing)
        session.openDrawing(std::move(drawing), arxhost::fromUtf8(options->drawing->string()));

    std::filesystem::path module = options->module ? *options->module : defaultModule();
    if (!session.loadModule(module, true)) {
        std::cout << std::endl;
        return fail("cannot load the module " + module.string());
    }

    if (options->script) {
        session.addInputText(scriptText);
    } else {
        session.setInputProvider([]() -> std::optional<std::wstring> {
            std::string line;
            if (!std::getline(std::cin, line))
                return std::nullopt;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return arxhost::fromUtf8(line);
        });
    }
#ifdef PLANROAD_HAVE_RENDER
    const arxhost::render::ViewWindow viewBefore = arxhost::render::sessionView(session);
#endif
    session.run();
    if (options->save) {
        std::string saveError;
        if (!dxf::saveDrawingFile(session.database(), *options->save, saveOptions, saveError)) {
            std::cout << std::flush;
            return fail(saveError);
        }
    }
#ifdef PLANROAD_HAVE_RENDER
    if (options->render) {
        // The view the script's last ZOOM left; the drawing's extents when it made none.
        arxhost::render::ViewWindow view = arxhost::render::sessionView(session);
        if (view == viewBefore)
            view = arxhost::render::extentsView(
                session.database(), options->renderWidth, options->renderHeight);
        std::string renderError;
        if (!arxhost::render::renderSessionView(
                session, view, *options->render, options->renderWidth, options->renderHeight, renderError)) {
            std::cout << std::flush;
            return fail(renderError);
        }
    }
#endif
    return 0;
}
