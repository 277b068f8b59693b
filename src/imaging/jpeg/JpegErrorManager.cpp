#include "imaging/jpeg/JpegErrorManager.h"

#include "imaging/jpeg/EJPEG.h"

JpegErrorManager::JpegErrorManager() {
    jpeg_std_error(&manager_.pub);
    libraryFormat_ = manager_.pub.format_message;
    manager_.pub.error_exit = errorExit;
    manager_.pub.emit_message = emitMessage; // warnings never stop a decode
    manager_.pub.output_message = outputMessage;
    manager_.pub.format_message = formatMessage;
    manager_.pub.reset_error_mgr = resetErrorManager;
}

JpegErrorManager::Manager& JpegErrorManager::of(j_common_ptr cinfo) {
    return *reinterpret_cast<Manager*>(cinfo->err);
}

void JpegErrorManager::keepException(j_common_ptr cinfo, std::exception_ptr error) {
    of(cinfo).pending = std::move(error);
}

void JpegErrorManager::jumpBack(j_common_ptr cinfo) {
    std::longjmp(of(cinfo).jump, 1);
}

void JpegErrorManager::fail(j_common_ptr cinfo, int code) {
    cinfo->err->msg_code = code;
    jumpBack(cinfo);
}

void JpegErrorManager::errorExit(j_common_ptr cinfo) {
    jumpBack(cinfo);
}

void JpegErrorManager::resetErrorManager(j_common_ptr cinfo) {
    cinfo->err->msg_code = 0;
    cinfo->err->num_warnings = 0;
}

void JpegErrorManager::throwPending() {
    if (manager_.pending) {
        std::exception_ptr error = std::move(manager_.pending);
        manager_.pending = nullptr;
        std::rethrow_exception(error);
    }
    // The library's wording reads only the error manager, so no library object is needed.
    jpeg_common_struct common{};
    common.err = &manager_.pub;
    char text[JMSG_LENGTH_MAX] = {};
    libraryFormat_(&common, text);
    throw EJPEG(manager_.pub.msg_code, text);
}
