#include "ui/table_service.hpp"

#include "tables/tables.hpp"

namespace tx::ui {

namespace {

class LoaderTables : public TableService {
public:
    LoaderTables(const std::filesystem::path& folder, Progress& progress, Prompts& prompts)
        : loader_(folder, progress, prompts) {}

    StartResult startUp(bool sliceMode, bool hugeOption) override { return loader_.startUp(sliceMode, hugeOption); }
    bool switchMode(bool sliceMode, bool centres) override { return loader_.switchMode(sliceMode, centres); }
    bool loadCenterTables() override { return loader_.loadCenterTables(); }
    void freeCenterTables() override { loader_.freeCenterTables(); }
    bool loadHugeTable() override { return loader_.loadHugeTable(); }
    bool hasCenter() const override { return loader_.current().hasCenter(); }
    bool hasHuge() const override { return loader_.current().hasHuge(); }
    TableSet current() const override { return loader_.current(); }

private:
    TableLoader loader_;
};

}  // namespace

std::unique_ptr<TableService> makeLoaderTables(const std::filesystem::path& folder, Progress& progress,
                                               Prompts& prompts) {
    return std::make_unique<LoaderTables>(folder, progress, prompts);
}

}  // namespace tx::ui
