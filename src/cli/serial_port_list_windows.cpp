#include "cli/serial_port_list.h"
#include "files/path_text.h"

// The order matters: windows.h first, and initguid.h before devguid.h so that the class
// identifiers are defined here.
// clang-format off
#include <windows.h>
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>
// clang-format on

#include <algorithm>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

namespace quarvel {
namespace {

std::string utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(std::max(size, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), converted.data(),
                          size, nullptr, nullptr);
    return converted;
}

std::optional<std::string> known(const std::wstring& text) {
    return text.empty() ? std::nullopt : std::optional<std::string>(utf8(text));
}

// The number of "COMn" (n of up to three digits), or 0 for any other name: ports are listed in
// the order of their numbers.
int comNumber(const std::wstring& name) {
    if (name.size() < 4 || name.size() > 6 || ::_wcsnicmp(name.c_str(), L"COM", 3) != 0 ||
        !std::all_of(name.begin() + 3, name.end(), [](wchar_t c) { return std::iswdigit(c); })) {
        return 0;
    }
    return std::stoi(name.substr(3));
}

// The COM names of the serial ports that are there now, as their drivers registered them.
std::vector<std::wstring> registeredPortNames() {
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &key) != ERROR_SUCCESS) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD valueNameLength = std::size(valueName);
        wchar_t data[64] = {};
        DWORD dataSize = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = ::RegEnumValueW(key, index, valueName, &valueNameLength, nullptr, &type,
                                            reinterpret_cast<BYTE*>(data), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (result == ERROR_SUCCESS && type == REG_SZ) {
            names.emplace_back(data);
        }
    }
    ::RegCloseKey(key);
    return names;
}

std::wstring deviceProperty(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property) {
    wchar_t text[512] = {};
    if (!::SetupDiGetDeviceRegistryPropertyW(devices, &device, property, nullptr,
                                             reinterpret_cast<BYTE*>(text),
                                             sizeof text - sizeof(wchar_t), nullptr)) {
        return {};
    }
    // A list of strings (the hardware ids) answers its first.
    return text;
}

std::wstring portNameOf(HDEVINFO devices, SP_DEVINFO_DATA& device) {
    const HKEY key =
        ::SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) {
        return {};
    }
    wchar_t name[64] = {};
    DWORD size = sizeof name - sizeof(wchar_t);
    DWORD type = 0;
    const LONG result =
        ::RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_SZ ? std::wstring(name) : std::wstring();
}

// The four hexadecimal digits after a marker such as "VID_" in a hardware id, in small letters.
std::optional<std::string> usbId(const std::wstring& hardwareId, const wchar_t* marker) {
    const auto at = hardwareId.find(marker);
    if (at == std::wstring::npos || hardwareId.size() < at + 8) {
        return std::nullopt;
    }
    std::string digits;
    for (wchar_t c : hardwareId.substr(at + 4, 4)) {
        if (!std::iswxdigit(c)) {
            return std::nullopt;
        }
        digits += static_cast<char>(std::towlower(c));
    }
    return digits;
}

// A USB device's serial number is the last part of its instance id; Windows makes up an id with
// '&' in it for a device that has none.
std::optional<std::string> usbSerialNumber(HDEVINFO devices, SP_DEVINFO_DATA& device) {
    wchar_t instance[512] = {};
    if (!::SetupDiGetDeviceInstanceIdW(devices, &device, instance, std::size(instance), nullptr)) {
        return std::nullopt;
    }
    const std::wstring id = instance;
    const auto last = id.rfind(L'\\');
    if (id.rfind(L"USB\\", 0) != 0 || last == std::wstring::npos ||
        id.find(L'&', last) != std::wstring::npos) {
        return std::nullopt;
    }
    return known(id.substr(last + 1));
}

// What Plug and Play knows of each port in the Ports class, by COM name.
std::map<std::wstring, PortDescription> describedPorts() {
    std::map<std::wstring, PortDescription> ports;
    const HDEVINFO devices =
        ::SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) {
        return ports;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        const std::wstring name = portNameOf(devices, device);
        if (comNumber(name) == 0) {
            continue; // a printer port
        }
        PortDescription port;
        port.description = known(deviceProperty(devices, device, SPDRP_DEVICEDESC));
        port.manufacturer = known(deviceProperty(devices, device, SPDRP_MFG));
        const std::wstring hardwareId = deviceProperty(devices, device, SPDRP_HARDWAREID);
        port.vendorId = usbId(hardwareId, L"VID_");
        port.productId = usbId(hardwareId, L"PID_");
        port.serialNumber = usbSerialNumber(devices, device);
        ports[name] = std::move(port);
    }
    ::SetupDiDestroyDeviceInfoList(devices);
    return ports;
}

// Windows lets one program at a time open a COM port and refuses the others access.
bool heldByAnotherProgram(const std::wstring& name) {
    const std::wstring path = L"\\\\.\\" + name;
    const HANDLE port = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    }
    ::CloseHandle(port);
    return false;
}

} // namespace

bool portHeldByAnotherProgram(const std::string& device) {
    return heldByAnotherProgram(pathFromText(device).wstring());
}

std::vector<PortDescription> listSerialPorts() {
    auto described = describedPorts();
    std::vector<std::wstring> names = registeredPortNames();
    for (const auto& [name, port] : described) {
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(name);
        }
    }
    std::erase_if(names, [](const std::wstring& name) { return comNumber(name) == 0; });
    std::ranges::sort(names, {}, comNumber);
    names.erase(std::unique(names.begin(), names.end()), names.end());

    std::vector<PortDescription> ports;
    for (const std::wstring& name : names) {
        PortDescription port = described.contains(name) ? described[name] : PortDescription{};
        port.device = utf8(name);
        port.busy = heldByAnotherProgram(name);
        ports.push_back(std::move(port));
    }
    return ports;
}

} // namespace quarvel
