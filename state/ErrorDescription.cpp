#include "state/ErrorDescription.h"

#include "model/DecodingError.h"
#include "platform/FileError.h"

#include <exception>

namespace meridavolt {

std::string describeCurrentException()
{
    try {
        throw;
    } catch (const FileError& error) {
        return error.localizedDescription();
    } catch (const DecodingError& error) {
        return error.localizedDescription();
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "不明なエラーが発生しました。";
    }
}

}  // namespace meridavolt
