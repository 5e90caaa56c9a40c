#include "driver/shared_block.h"

#include <cstring>

#include "platform/board_window.h"
#include "platform/shared_section.h"

namespace vext {

using platform::SectionHandle;

namespace {

// Per process: the handle to the section and the view of the block. The view is never unmapped;
// it ends with the process.
SectionHandle gSection;
TVOutSharedBlock* gView = nullptr;

}  // namespace

void createSharedBlock() {
    gSection = SectionHandle::create(kSharedSectionName, sizeof(TVOutSharedBlock));
    gView = static_cast<TVOutSharedBlock*>(gSection.mapView());
}

int32_t mapSharedBlock() {
    if (gView != nullptr) {
        return 1;
    }
    if (!gSection) {
        gSection = SectionHandle::open(kSharedSectionName);
        if (!gSection) {
            return 0;
        }
    }
    gView = static_cast<TVOutSharedBlock*>(gSection.mapView());
    return gView != nullptr ? 1 : 0;
}

TVOutSharedBlock* sharedBlock() {
    return gView;
}

bool closeSharedBlockHandle() {
    if (!gSection) {
        return false;
    }
    gSection.close();
    return true;
}

void resetSharedBlockForTesting() {
    gSection.close();
    platform::unmapSectionView(gView);
    gView = nullptr;
}

uint32_t readBoardRegister(uint32_t offset) {
    const uint32_t base = gView != nullptr ? gView->regBase : 0;
    if (base == 0) {
        return 0;
    }
    return platform::readRegisterWindow(base + (offset & ~3u));
}

void writeBoardRegister(uint32_t offset, uint32_t value) {
    const uint32_t base = gView != nullptr ? gView->regBase : 0;
    if (base == 0) {
        return;
    }
    platform::writeRegisterWindow(base + (offset & ~3u), value);
}

}  // namespace vext

using namespace vext;

extern "C" uint32_t VEXT_STDCALL duvuzGet(uint32_t query, uint32_t size, void* out) {
    uint32_t required = 0;
    switch (query) {
        case 1:
            required = 4;
            break;
        case 2:
        case 3:
            required = 8;
            break;
        default:
            return 0;
    }
    if (size != required || out == nullptr) {
        return 0;
    }
    uint32_t words[2] = {0, 0};
    std::memset(out, 0, required);
    if (mapSharedBlock() != 0 && gView->status.enable != 0) {
        if (query == 1) {
            words[0] = 1;
        } else {
            words[1] = query == 2 ? gView->regBase : gView->otherRegBase;
        }
        std::memcpy(out, words, required);
    }
    return required;
}

extern "C" uint32_t VEXT_STDCALL duvuzGetMMIO(uint32_t offset) {
    if (mapSharedBlock() == 0) {
        return 0;
    }
    return readBoardRegister(offset & 0xFFFFu);
}

extern "C" uint32_t VEXT_STDCALL duvuzSetMMIO(uint32_t offset, uint32_t value) {
    if (mapSharedBlock() != 0) {
        writeBoardRegister(offset & 0xFFFFu, value);
    }
    return 0;
}
