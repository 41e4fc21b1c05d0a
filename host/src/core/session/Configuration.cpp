// The configuration root handed to components that read the product family's files.
#include "arxhost/Configuration.h"

#include "arxhost/Session.h"

namespace arxhost {

std::filesystem::path configurationRoot()
{
    const Session* session = Session::currentOrNull();
    return session == nullptr ? std::filesystem::path() : session->options().configRoot;
}

} // namespace arxhost
