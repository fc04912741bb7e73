#include "render/shaders/ShaderFile.h"

#include "engine/files/ArchiveList.h"
#include "engine/files/Stream.h"

#include <memory>

std::string ReadShaderFile(const WideString& name)
{
    std::unique_ptr<Stream> stream = OpenFile(name);
    if (stream->GetSize() <= 0) {
        return {};
    }
    std::string bytes(static_cast<size_t>(stream->GetSize()), '\0');
    bytes.resize(static_cast<size_t>(stream->Read(bytes.data(), stream->GetSize())));
    return bytes;
}
