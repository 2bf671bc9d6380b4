#include "ui/main_dialog_logic.h"

#include "files/path_text.h"
#include "logo/gif_reader.h"
#include "logo/logo_staging.h"
#include "ui/transfer_rules.h"

#include <utility>

namespace quarvel {

int shownIndex(int index, int itemCount) {
    return index >= 0 && index < itemCount ? index : -1;
}

TransferPlan planTransfer(const LastValues& values, const LoaderServices& services) {
    LoadRequest request{values.filePath, portNumberOfIndex(values.portIndex),
                        channelOfIndex(values.channelIndex)};
    if (!isSendableChannel(request.channel)) {
        return {std::nullopt, kChooseChannelText};
    }
    if (isLogoPicture(pathFromText(values.filePath))) {
        const auto converted = services.convertedLogoPath();
        if (convertGifToLogo(values.filePath, textFromPath(converted)) != 0) {
            return {};
        }
        request.filePath = textFromPath(converted);
    }
    return {std::move(request), {}};
}

} // namespace quarvel
