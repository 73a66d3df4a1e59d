#include "ui/table_service.hpp"

#include "tables/tables.hpp"

namespace tx::ui {

namespace {

class LoaderTables : public TableService {
public:
    LoaderTables(const std::filesystem::path& folder, Progress& progress, Prompts& prompts)
        : loader_(folder, progress, prompts), progress_(progress) {}

    // After the other tables, those of the partial-cube search (face turns: its slice setting
    // starts unchecked); the bar shows 95, then 100.
    StartResult startUp(bool sliceMode, bool hugeOption) override {
        const StartResult result = loader_.startUp(sliceMode, hugeOption);
        if (result == StartResult::Ready) makeIncompTables(false, 95);
        return result;
    }
    std::shared_ptr<const IncompTables> incompTables() const override { return incomp_; }
    bool buildIncompTables(bool sliceMode) override { return makeIncompTables(sliceMode, 0); }
    bool switchMode(bool sliceMode, bool centres) override { return loader_.switchMode(sliceMode, centres); }
    bool loadCenterTables() override { return loader_.loadCenterTables(); }
    void freeCenterTables() override { loader_.freeCenterTables(); }
    bool loadHugeTable() override { return loader_.loadHugeTable(); }
    bool hasCenter() const override { return loader_.current().hasCenter(); }
    bool hasHuge() const override { return loader_.current().hasHuge(); }
    TableSet current() const override { return loader_.current(); }

private:
    // The bar runs from `from` to 100 while the tables are made.
    bool makeIncompTables(bool sliceMode, int from) {
        const TableSet set = loader_.current();
        auto corners = loader_.cornerTable(sliceMode);
        if (!set.coords || !corners) return false;
        progress_.setVisible(true);
        progress_.setLabel("Loading...");
        progress_.setRange(0, 100);
        progress_.setPosition(from);
        incomp_ = tx::buildIncompTables(set.coords, std::move(corners), sliceMode, [&](int percent) {
            if (percent > from && percent < 100) progress_.setPosition(percent);
            progress_.pump();
        });
        progress_.setPosition(100);
        progress_.setVisible(false);
        return true;
    }

    TableLoader loader_;
    Progress& progress_;
    std::shared_ptr<const IncompTables> incomp_;
};

}  // namespace

std::unique_ptr<TableService> makeLoaderTables(const std::filesystem::path& folder, Progress& progress,
                                               Prompts& prompts) {
    return std::make_unique<LoaderTables>(folder, progress, prompts);
}

}  // namespace tx::ui
