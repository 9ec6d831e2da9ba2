// Components, collections and the framework's exception texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "gui/component.h"
#include "gui/exceptions.h"
#include "gui/text.h"
#include "gui/text_file.h"

namespace korvel {
namespace {

std::vector<std::string>* freeLog = nullptr;

class TLogged : public TComponent {
public:
    explicit TLogged(TComponent* owner, const std::string& name) : TComponent(owner) { SetName(name); }
    ~TLogged() override {
        Destroying();
        DestroyComponents();   // as every framework class does: owned components go first
        if (freeLog) freeLog->push_back(Name() + (Owner() && Owner()->InState(csDestroying) ? "+" : "-"));
    }
    std::vector<std::pair<TOperation, std::uintptr_t>> seen;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        seen.emplace_back(op, reinterpret_cast<std::uintptr_t>(c));
    }
};

TEST(Component, OwnerFreesOwnedComponentsLastCreatedFirstWhileItselfIsWhole) {
    std::vector<std::string> log;
    freeLog = &log;
    int before = TComponent::LiveCount();
    auto* root = new TLogged(nullptr, "root");
    auto* a = new TLogged(root, "a");
    new TLogged(a, "a1");
    new TLogged(root, "b");
    ASSERT_EQ(root->ComponentCount(), 2);
    EXPECT_EQ(root->Components(0), a);
    EXPECT_EQ(root->Components(1)->Name(), "b");
    EXPECT_EQ(root->FindComponent("B")->Name(), "b");   // names compare without case
    delete root;
    freeLog = nullptr;
    // Owned components go while their owner is destroying ("+"); a's own child first.
    EXPECT_EQ(log, (std::vector<std::string>{"b+", "a1+", "a+", "root-"}));
    EXPECT_EQ(TComponent::LiveCount(), before);
}

TEST(Component, SiblingsAreToldOfInsertAndRemove) {
    auto* root = new TLogged(nullptr, "root");
    auto* watcher = new TLogged(root, "watcher");
    auto* other = new TLogged(root, "other");
    auto id = [](TComponent* c) { return reinterpret_cast<std::uintptr_t>(c); };
    std::uintptr_t otherId = id(other), watcherId = id(watcher);
    delete other;
    using Seen = std::vector<std::pair<TOperation, std::uintptr_t>>;
    EXPECT_EQ(watcher->seen, (Seen{{TOperation::opInsert, otherId}, {TOperation::opRemove, otherId}}));
    EXPECT_EQ(root->seen, (Seen{{TOperation::opInsert, watcherId}, {TOperation::opInsert, otherId},
                                {TOperation::opRemove, otherId}}));
    delete root;
}

TEST(Component, FreeNotificationReachesAcrossOwnersEitherWayOnce) {
    auto* rootA = new TLogged(nullptr, "rootA");
    auto* rootB = new TLogged(nullptr, "rootB");
    auto* watcher = new TLogged(rootA, "watcher");
    auto* target = new TLogged(rootB, "target");
    auto* unlinked = new TLogged(rootB, "unlinked");
    target->FreeNotification(watcher);
    target->FreeNotification(watcher);   // linking twice still tells once
    unlinked->FreeNotification(watcher);
    unlinked->RemoveFreeNotification(watcher);
    auto id = [](TComponent* c) { return reinterpret_cast<std::uintptr_t>(c); };
    const std::uintptr_t targetId = id(target), watcherId = id(watcher);
    watcher->seen.clear();
    delete unlinked;
    EXPECT_TRUE(watcher->seen.empty());
    delete target;
    using Seen = std::vector<std::pair<TOperation, std::uintptr_t>>;
    EXPECT_EQ(watcher->seen, (Seen{{TOperation::opRemove, targetId}}));

    // The other way round: the watcher goes first, the target learns of it and
    // later frees without touching it.
    auto* target2 = new TLogged(rootB, "target2");
    target2->FreeNotification(watcher);
    delete watcher;
    EXPECT_EQ(target2->seen.back(), (std::pair{TOperation::opRemove, watcherId}));
    delete rootB;
    delete rootA;
}

TEST(Component, DuplicateNameUnderOneOwnerIsRefused) {
    TComponent root(nullptr);
    auto* first = new TComponent(&root);
    first->SetName("edit1");
    auto* second = new TComponent(&root);
    EXPECT_THROW(second->SetName("Edit1"), EInvalidOperation);
    EXPECT_EQ(second->Name(), "");
    second->SetName("edit2");
    EXPECT_EQ(root.FindComponent("edit2"), second);
}

TEST(Component, StateFlagsFollowLoadingAndDesigningIsNeverSet) {
    TComponent c(nullptr);
    c.SetLoading();
    EXPECT_TRUE(c.InState(csLoading));
    EXPECT_TRUE(c.InState(csReading));
    c.EndReading();
    EXPECT_FALSE(c.InState(csReading));
    EXPECT_TRUE(c.InState(csLoading));
    c.Loaded();
    EXPECT_FALSE(c.InState(csLoading | csReading | csDesigning | csDestroying));
}

TEST(Component, InsertComponentMovesOwnership) {
    auto* a = new TComponent(nullptr);
    auto* b = new TComponent(nullptr);
    auto* child = new TComponent(a);
    b->InsertComponent(child);
    EXPECT_EQ(child->Owner(), b);
    EXPECT_EQ(a->ComponentCount(), 0);
    delete a;
    EXPECT_EQ(b->ComponentCount(), 1);
    delete b;   // frees child
}

class TNumberItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    int value = 0;
    void Assign(const TPersistent& source) override {
        auto* other = dynamic_cast<const TNumberItem*>(&source);
        if (!other) return TCollectionItem::Assign(source);
        value = other->value;
    }
};

TEST(Collection, OwnsOrderedItemsAndKnowsItsOwner) {
    TComponent owner(nullptr);
    auto factory = [](TCollection* c) { return std::make_unique<TNumberItem>(c); };
    TCollection items(&owner, factory);
    for (int i = 0; i < 3; ++i) static_cast<TNumberItem*>(items.Add())->value = i * 10;
    EXPECT_EQ(items.Owner(), &owner);
    items.Delete(1);
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(static_cast<TNumberItem*>(items.Items(1))->value, 20);
    EXPECT_EQ(items.Items(1)->Index(), 1);
    EXPECT_EQ(items.Items(1)->Collection(), &items);
    EXPECT_THROW(items.Delete(5), EInvalidOperation);

    TCollection copy(&owner, factory);
    copy.Assign(items);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(static_cast<TNumberItem*>(copy.Items(0))->value, 0);
    EXPECT_EQ(static_cast<TNumberItem*>(copy.Items(1))->value, 20);
    EXPECT_THROW(copy.Items(0)->Assign(owner), EConvertError);
}

TEST(Exceptions, InOutErrorTextsAreTheRuntimes) {
    struct { int code; const char* text; } cases[] = {
        {2, "File not found"}, {3, "Invalid filename"}, {4, "Too many open files"},
        {5, "File access denied"}, {101, "Disk full"}, {32, "I/O error 32"}, {0, "I/O error 0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InOutErrorText(c.code), c.text) << c.code;
        EXPECT_EQ(EInOutError(c.code).ErrorCode(), c.code);
    }
}

TEST(Exceptions, FileOpenErrorCarriesPathAndPlatformDescription) {
    EFOpenError error("c:\\nowhere\\x.cfg", ERROR_PATH_NOT_FOUND);
    std::string text = error.Message();
    std::string prefix = "Cannot open file \"c:\\nowhere\\x.cfg\". ";
    ASSERT_EQ(text.compare(0, prefix.size(), prefix), 0) << text;
    EXPECT_GT(text.size(), prefix.size());
    EXPECT_NE(text.back(), '\n');
    EXPECT_EQ(text, prefix + SystemErrorMessage(ERROR_PATH_NOT_FOUND));
}

std::string TempPath(const std::string& name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return Narrow(dir) + name;
}

std::string InOutFailure(const std::string& path) {
    try {
        WriteTextFile(path, "192.168.100.1\r\n");
    } catch (const EInOutError& e) {
        return e.Message();
    }
    return "no error";
}

TEST(TextFile, WritesExactBytesAndReportsRuntimeTexts) {
    std::string path = TempPath("korvel_gui_seed.cfg");
    WriteTextFile(path, "192.168.100.1\r\n");
    WriteTextFile(path, "192.168.100.1\r\n");   // a second write truncates
    HANDLE f = CreateFileW(Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    char buffer[64];
    DWORD got = 0;
    ReadFile(f, buffer, sizeof(buffer), &got, nullptr);
    CloseHandle(f);
    EXPECT_EQ(std::string(buffer, got), "192.168.100.1\r\n");

    EXPECT_EQ(InOutFailure(TempPath("korvel_no_such_folder\\seed.cfg")), "Invalid filename");

    // A folder in the file's place is refused with access denied everywhere.
    std::string folder = TempPath("korvel_gui_folder.cfg");
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    EXPECT_EQ(InOutFailure(folder), "File access denied");
    RemoveDirectoryW(Widen(folder).c_str());

    // A read-only file: Wine maps the attribute to Unix permissions, which a
    // root user passes; the error text is checked wherever the platform refuses.
    std::string readOnly = TempPath("korvel_gui_readonly.cfg");
    WriteTextFile(readOnly, "x");
    SetFileAttributesW(Widen(readOnly).c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE probe = CreateFileW(Widen(readOnly).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe == INVALID_HANDLE_VALUE) EXPECT_EQ(InOutFailure(readOnly), "File access denied");
    else CloseHandle(probe);
    SetFileAttributesW(Widen(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(Widen(readOnly).c_str());
    DeleteFileW(Widen(path).c_str());
}

}  // namespace
}  // namespace korvel
