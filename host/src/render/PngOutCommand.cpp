// The host command PNGOUT: the current view written to a picture file, asked for at the command line.
#include <filesystem>
#include <memory>
#include <string>

#include "arxhost/Session.h"
#include "editor/CommandProcessor.h"
#include "editor/Editor.h"
#include "editor/InputParsing.h"
#include "editor/Transcript.h"
#include "render/Renderer.h"
#include "session/DocumentState.h"
#include "text/Utf8.h"

namespace arxhost::render {

namespace {

const char kExtensionKey = 0;

// The picture's size when the command writes it: the host's screen.
constexpr int kPictureWidth = 1600;
constexpr int kPictureHeight = 1200;

// The drawing's name with the extension .png: what Enter at the prompt takes.
std::wstring defaultPictureName(Session& session)
{
    std::wstring name = session.document().drawingName();
    const std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return name + L".png";
}

void pngOut(Session& session)
{
    const std::wstring fallback = defaultPictureName(session);
    Editor::Answer answer = session.editor().ask(L"\nEnter file name <" + fallback + L">: ");
    if (answer.kind == Editor::Answer::Kind::Cancel) {
        session.processor().markCancelled();
        return;
    }
    std::wstring name = answer.kind == Editor::Answer::Kind::Text ? trimmed(answer.text) : std::wstring();
    if (name.empty())
        name = fallback;
    std::filesystem::path file(toUtf8(name));
    if (!formatOf(file))
        file += ".png";
    std::string error;
    if (!renderSessionView(session, sessionView(session), file, kPictureWidth, kPictureHeight, error)) {
        session.transcript().write(L"\n" + fromUtf8(error));
        return;
    }
    session.transcript().write(L"\nWrote " + fromUtf8(file.string()) + L".");
}

// Registers the command in every session; holds nothing itself.
class PngOutExtension : public SessionExtension {
public:
    explicit PngOutExtension(Session& session)
    {
        session.processor().addHostCommand(
            L"PNGOUT", [&session] { pngOut(session); }, false, true);
    }
};

std::unique_ptr<SessionExtension> makePngOut(Session& session)
{
    return std::make_unique<PngOutExtension>(session);
}

const bool kRegistered = (Session::registerExtension(&kExtensionKey, &makePngOut), true);

} // namespace

} // namespace arxhost::render
