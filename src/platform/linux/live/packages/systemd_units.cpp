#include "platform/linux/live/packages/systemd_units.h"

#include <signal.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <set>
#include <string_view>

#include "platform/linux/live/packages/unit_files.h"

namespace platform::live {
namespace {

constexpr char kDestination[] = "org.freedesktop.systemd1";
constexpr char kManagerPath[] = "/org/freedesktop/systemd1";
constexpr char kManager[] = "org.freedesktop.systemd1.Manager";
constexpr char kUnit[] = "org.freedesktop.systemd1.Unit";
constexpr char kService[] = "org.freedesktop.systemd1.Service";
constexpr std::uint64_t kCallTimeoutUsec = 2'000'000;
// The per-unit questions stop once this is spent: the listing is kept, with default details.
constexpr std::chrono::seconds kDetailBudget{5};

struct BusRelease {
    void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
using Bus = std::unique_ptr<sd_bus, BusRelease>;

struct MessageRelease {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
using Message = std::unique_ptr<sd_bus_message, MessageRelease>;

class BusError {
  public:
    BusError() = default;
    BusError(const BusError&) = delete;
    BusError& operator=(const BusError&) = delete;
    ~BusError() { sd_bus_error_free(&error_); }
    sd_bus_error* get() { return &error_; }

  private:
    sd_bus_error error_ = SD_BUS_ERROR_NULL;
};

// The manager's own socket, which answers root without the bus daemon (that a small
// container may not run).
int ConnectDirect(Bus& bus) {
    if (::geteuid() != 0)
        return -EACCES;
    sd_bus* raw = nullptr;
    const int rc = sd_bus_new(&raw);
    if (rc < 0)
        return rc;
    bus.reset(raw);
    int step = sd_bus_set_address(raw, "unix:path=/run/systemd/private");
    if (step >= 0)
        step = sd_bus_set_method_call_timeout(raw, kCallTimeoutUsec);
    return step >= 0 ? sd_bus_start(raw) : step;
}

int ConnectSystemBus(Bus& bus) {
    sd_bus* raw = nullptr;
    const int rc = sd_bus_open_system(&raw);
    if (rc < 0)
        return rc;
    bus.reset(raw);
    return sd_bus_set_method_call_timeout(raw, kCallTimeoutUsec);
}

struct LoadedUnit {
    std::string name, description, loadState, activeState, objectPath;
};

int CallManager(sd_bus* bus, const char* method, Message& reply) {
    BusError error;
    sd_bus_message* raw = nullptr;
    const int rc = sd_bus_call_method(bus, kDestination, kManagerPath, kManager, method,
                                      error.get(), &raw, "");
    reply.reset(raw);
    return rc;
}

// Calls a method of the manager that answers with an array of structures of the signature,
// and hands the reply to `readOne` for each; it answers as sd_bus_message_read does.
template <class ReadOne>
int ReadArray(sd_bus* bus, const char* method, const char* signature, ReadOne readOne) {
    Message reply;
    int rc = CallManager(bus, method, reply);
    if (rc < 0)
        return rc;
    rc = sd_bus_message_enter_container(reply.get(), SD_BUS_TYPE_ARRAY, signature);
    if (rc < 0)
        return rc;
    while ((rc = readOne(reply.get(), signature)) > 0) {
    }
    return rc < 0 ? rc : sd_bus_message_exit_container(reply.get());
}

int ListLoaded(sd_bus* bus, std::vector<LoadedUnit>& units) {
    return ReadArray(bus, "ListUnits", "(ssssssouso)", [&](sd_bus_message* reply, const char* as) {
        const char *name, *description, *load, *active, *sub, *followed, *path, *jobType, *jobPath;
        std::uint32_t jobId;
        const int rc = sd_bus_message_read(reply, as, &name, &description, &load, &active, &sub,
                                           &followed, &path, &jobId, &jobType, &jobPath);
        if (rc > 0)
            units.push_back({name, description, load, active, path});
        return rc;
    });
}

int ListFiles(sd_bus* bus, std::vector<std::pair<std::string, std::string>>& files) {
    return ReadArray(bus, "ListUnitFiles", "(ss)", [&](sd_bus_message* reply, const char* as) {
        const char *path, *state;
        const int rc = sd_bus_message_read(reply, as, &path, &state);
        if (rc > 0)
            files.emplace_back(path, state);
        return rc;
    });
}

// Asks one unit for its unit-file state and what its status block needs beyond its state;
// gives up on the first timeout, and once the budget is spent.
class UnitDetails {
  public:
    explicit UnitDetails(sd_bus* bus)
        : bus_(bus), deadline_(std::chrono::steady_clock::now() + kDetailBudget) {}

    void Fill(const LoadedUnit& unit, LinuxService& service) {
        if (Ask()) {
            char* fileState = nullptr;
            const int rc = sd_bus_get_property_string(bus_, kDestination, unit.objectPath.c_str(),
                                                      kUnit, "UnitFileState", nullptr, &fileState);
            stuck_ = rc == -ETIMEDOUT;
            if (rc >= 0 && fileState)
                service.unitFileState = fileState;
            std::free(fileState);
        }
        UnitState& state = service.state;
        if (state.activeState == "active" || state.activeState == "reloading") {
            int canStop = 1;
            if (Get(unit.objectPath, kUnit, "CanStop", 'b', &canStop))
                state.canStop = canStop != 0;
        } else if (state.activeState == "failed") {
            std::int32_t code = 0, status = 0;
            if (Get(unit.objectPath, kService, "ExecMainCode", 'i', &code) && code == CLD_EXITED &&
                Get(unit.objectPath, kService, "ExecMainStatus", 'i', &status))
                state.exitStatus = static_cast<std::uint32_t>(status);
        }
    }

  private:
    bool Get(const std::string& path, const char* interface, const char* member, char type,
             void* value) {
        if (!Ask())
            return false;
        BusError error;
        const int rc = sd_bus_get_property_trivial(bus_, kDestination, path.c_str(), interface,
                                                   member, error.get(), type, value);
        stuck_ = rc == -ETIMEDOUT;
        return rc >= 0;
    }

    bool Ask() const { return !stuck_ && std::chrono::steady_clock::now() <= deadline_; }

    sd_bus* bus_;
    std::chrono::steady_clock::time_point deadline_;
    bool stuck_ = false;
};

}  // namespace

std::optional<SystemdServices> ListSystemdServices(const SystemRoot& root) {
    SystemdServices answer;
    // The first way that lists the loaded units is used; the error reported is the system
    // bus's, the usual way.
    Bus bus;
    std::vector<LoadedUnit> loaded;
    for (auto connect : {ConnectDirect, ConnectSystemBus}) {
        bus.reset();
        loaded.clear();
        int rc = connect(bus);
        answer.failure = SystemdServices::Failure::Connect;
        if (rc >= 0) {
            rc = ListLoaded(bus.get(), loaded);
            answer.failure = SystemdServices::Failure::List;
        }
        answer.error = -rc;
        if (rc >= 0) {
            answer.failure = SystemdServices::Failure::None;
            answer.error = 0;
            break;
        }
    }
    if (answer.failure != SystemdServices::Failure::None)
        return answer;

    std::set<std::string> listed;
    UnitDetails details(bus.get());
    for (const auto& unit : loaded) {
        if (!unit.name.ends_with(".service"))
            continue;
        // Named by another unit but never installed, or masked: nothing there unless it runs.
        if ((unit.loadState == "not-found" || unit.loadState == "masked") &&
            unit.activeState == "inactive")
            continue;
        LinuxService service{unit.name, unit.description, {}, {}};
        service.state.activeState = unit.activeState;
        details.Fill(unit, service);
        listed.insert(unit.name);
        answer.services.push_back(std::move(service));
    }

    // Installed but not loaded: disabled, or never needed since the boot.
    std::vector<std::pair<std::string, std::string>> files;
    if (const int rc = ListFiles(bus.get(), files); rc < 0) {
        answer.failure = SystemdServices::Failure::List;
        answer.error = -rc;
        return answer;
    }
    for (const auto& [path, state] : files) {
        const std::string name = path.substr(path.rfind('/') + 1);
        if (!name.ends_with(".service") || name.ends_with("@.service") || listed.count(name) ||
            state == "masked" || state == "masked-runtime" || state == "alias")
            continue;
        LinuxService service{name, {}, {}, state};
        if (const auto text = root.ReadFile(path, 1u << 20))
            service.description = ExpandSpecifiers(ParseUnitFile(*text).description, name);
        listed.insert(name);
        answer.services.push_back(std::move(service));
    }
    return answer;
}

}  // namespace platform::live
