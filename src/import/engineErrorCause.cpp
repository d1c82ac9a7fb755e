#include "import/engineErrorCause.h"

namespace veltrona {

std::string engineErrorCause(engine::EngineError error) {
    using engine::EngineError;
    switch (error) {
        case EngineError::None:
            break;
        case EngineError::NotInitialised:
            return "音频引擎没有初始化";
        case EngineError::BadHandle:
            return "音频流无效";
        case EngineError::BadArgument:
            return "音频数据无效";
        case EngineError::FileOpen:
            return "音频引擎无法读取它";
        case EngineError::NoAudio:
            return "其中没有可识别的音频";
        case EngineError::Codec:
            return "缺少解码器，或解码器无法打开";
        case EngineError::Decode:
            return "解码出错";
        case EngineError::Memory:
            return "内存不足";
        case EngineError::Device:
            return "无法打开音频输出设备";
    }
    return "音频引擎出现未知错误";
}

}  // namespace veltrona
