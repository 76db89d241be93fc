#include "aris/AmlReader.h"

#include <expat.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <optional>
#include <ostream>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "aris/AsciiText.h"
#include "aris/HugePages.h"
#include "platform/Text.h"

namespace aris {

namespace {

using repo::AttrValue;
using repo::CxnDefImpl;
using repo::CxnOccImpl;
using repo::DatabaseImpl;
using repo::GroupImpl;
using repo::ModelImpl;
using repo::ObjDefImpl;
using repo::ObjOccImpl;

constexpr int kServerErrorNumber = 440;
constexpr std::size_t kChunkSize = 64 * 1024;

// Where the reader stands: the element whose children it reads.
enum class Ctx { Document, Aml, Group, ObjDef, CxnDef, Model, ObjOcc, CxnOcc, AttrDef, AttrValue, Styled, Text };

// What a text element delivers its content to.
enum class TextTarget { Guid, TypeGuid };

struct Frame {
    Ctx ctx = Ctx::Document;
    TextTarget textTarget = TextTarget::Guid;
    GroupImpl* group = nullptr;            // the group holding what is read here
    ObjDefImpl* objDef = nullptr;          // ObjDef, and the source of a CxnDef
    ModelImpl* model = nullptr;            // Model, ObjOcc, CxnOcc
    ObjOccImpl* objOcc = nullptr;          // ObjOcc
    CxnOccImpl* cxnOcc = nullptr;          // CxnOcc
    std::string_view* identity = nullptr;  // the item a GUID child names
    std::string_view id;                   // the item's id: its identity without a GUID
    repo::Attributes* attrs = nullptr;     // the item AttrDef children belong to
    std::size_t stagingBase = 0;           // where the item's attribute values begin in the staging area
    std::string writtenType;               // ObjDef symbol, Model type, ObjOcc symbol: resolved at the end
    std::string typeGuid;                  // SymbolGUID or TypeGUID child
    bool placed = false;                   // ObjOcc, CxnOcc: the first Position was read
};

// References that could not be resolved when they were read (the id may come later in the
// file); the texts lie in the reader's own pool.
struct PendingOcc {
    ObjOccImpl* occ = nullptr;
    std::string_view objDefRef;
    int line = 0;
};

struct PendingCxnOcc {
    CxnOccImpl* occ = nullptr;
    std::string_view cxnDefRef;
    int line = 0;
};

struct PendingTarget {
    CxnDefImpl* cxn = nullptr;
    std::string_view ref;
    int line = 0;
};

struct PendingLinks {
    ObjDefImpl* objDef = nullptr;  // null for a connection: its links are checked, not kept
    std::string_view refs;
    int line = 0;
};

// What an id names.
enum class IdKind : std::uint8_t { Group, ObjDef, CxnDef, Model, Occurrence };

// Every id of the export, unique across all kinds, with the item it names. The ids (views into
// a text pool) lie in a list in reading order (in blocks, never moved); an open-addressing table
// of hashes and list positions finds them, so that growing the table moves eight bytes per id.
class IdTable {
public:
    /// Record an id; false when it is already there.
    bool Insert(std::string_view id, IdKind kind, void* item) {
        if (id.empty()) return !std::exchange(emptySeen_, true);
        if ((entries_.size() + 1) * 10 > slots_.size() * 7) Grow();
        const std::uint32_t hash = Hash(id);
        Slot* slot = Probe(id, hash);
        if (slot->entry != 0) return false;
        entries_.push_back(Entry{id, item, kind});
        *slot = Slot{hash, static_cast<std::uint32_t>(entries_.size())};
        return true;
    }

    /// Make room for about `count` ids at once.
    void Reserve(std::size_t count) {
        if (count < 1024 || !slots_.empty()) return;
        std::size_t size = 4096;
        while (size * 7 < count * 10) size *= 2;
        // A table of many megabytes gets memory of its own: ask for huge pages before it is
        // touched, as for the heap (see PrepareHeapFor in aris/LocalServer.cpp).
        slots_.reserve(size);
        AdviseHugePages(slots_.data(), slots_.data() + size);
        slots_.resize(size);
    }

    /// The item of an id of a kind, nullptr when there is none.
    void* Find(std::string_view id, IdKind kind) {
        if (slots_.empty() || id.empty()) return nullptr;
        const Slot* slot = Probe(id, Hash(id));
        if (slot->entry == 0) return nullptr;
        const Entry& entry = entries_[slot->entry - 1];
        return entry.kind == kind ? entry.item : nullptr;
    }

private:
    struct Entry {
        std::string_view id;
        void* item = nullptr;
        IdKind kind = IdKind::Group;
    };
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t entry = 0;  ///< position in entries_ + 1; 0 marks a free slot
    };

    static std::uint32_t Hash(std::string_view id) {
        const std::size_t h = std::hash<std::string_view>()(id);
        return static_cast<std::uint32_t>(h ^ (h >> 32));
    }

    Slot* Probe(std::string_view id, std::uint32_t hash) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = slots_[i];
            if (slot.entry == 0 || (slot.hash == hash && entries_[slot.entry - 1].id == id)) return &slot;
        }
    }

    void Grow() {
        const std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 4096 : old.size() * 2, Slot{});
        const std::size_t mask = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (slot.entry == 0) continue;
            std::size_t i = slot.hash & mask;
            while (slots_[i].entry != 0) i = (i + 1) & mask;
            slots_[i] = slot;
        }
    }

    std::deque<Entry> entries_;
    std::vector<Slot> slots_;
    bool emptySeen_ = false;
};

// A failure found by the reader itself; carries the finished message.
struct ReadFailure {
    std::string message;
};

struct LocaleTag {
    const char* tag;
    LocaleId id;
};

// Language tags that hand-made exports write in place of numeric locale ids.
constexpr LocaleTag kLocaleTags[] = {
    {"en-US", 1033}, {"de-DE", 1031}, {"en-GB", 2057}, {"de-AT", 3079}, {"de-CH", 2055}, {"fr-FR", 1036},
    {"fr-CH", 4108}, {"it-IT", 1040}, {"es-ES", 3082}, {"nl-NL", 1043}, {"pl-PL", 1045}, {"cs-CZ", 1029},
    {"sk-SK", 1051}, {"pt-BR", 1046}, {"ru-RU", 1049}, {"ja-JP", 1041}, {"zh-CN", 2052}, {"ar-SA", 1025},
};

std::optional<LocaleId> ParseLocale(std::string_view written) {
    const std::string_view value = text::Trim(written);
    if (text::IsDigits(value)) {
        std::optional<int> number = text::ParseInt(value);
        if (number && *number <= 0xFFFF) return *number;
        return std::nullopt;
    }
    for (const LocaleTag& known : kLocaleTags) {
        if (text::EqualsIgnoreAsciiCase(value, known.tag)) return known.id;
    }
    return std::nullopt;
}

const char* FindAttr(const XML_Char** atts, const char* name) {
    for (; atts[0]; atts += 2) {
        if (std::strcmp(atts[0], name) == 0) return atts[1];
    }
    return nullptr;
}

// Windows-1252, which older exports declare; expat knows only UTF-8, UTF-16, Latin-1 and ASCII.
int XMLCALL OnUnknownEncoding(void*, const XML_Char* name, XML_Encoding* info) {
    if (!text::EqualsIgnoreAsciiCase(name, "windows-1252") && !text::EqualsIgnoreAsciiCase(name, "cp1252")) {
        return XML_STATUS_ERROR;
    }
    static const int kHighControls[32] = {0x20AC, -1,     0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                          0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, -1,     0x017D, -1,
                                          -1,     0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                          0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, -1,     0x017E, 0x0178};
    for (int i = 0; i < 256; ++i) info->map[i] = (i >= 0x80 && i < 0xA0) ? kHighControls[i - 0x80] : i;
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

class AmlParser {
public:
    AmlParser(const std::string& sourceName, std::unique_ptr<TypeCatalog> catalog)
        : sourceName_(sourceName), db_(std::make_unique<DatabaseImpl>(std::move(catalog))) {
        parser_ = XML_ParserCreate(nullptr);
        if (!parser_) throw ServerError(kServerErrorNumber, sourceName_ + ": out of memory");
        XML_SetUserData(parser_, this);
        XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
        XML_SetElementHandler(parser_, &AmlParser::OnStart, &AmlParser::OnEnd);
        XML_SetExternalEntityRefHandler(parser_, &AmlParser::OnExternalEntity);
        XML_SetSkippedEntityHandler(parser_, &AmlParser::OnSkippedEntity);
        XML_SetUnknownEncodingHandler(parser_, &OnUnknownEncoding, nullptr);
        frames_.push_back(Frame{});
    }
    ~AmlParser() { XML_ParserFree(parser_); }
    AmlParser(const AmlParser&) = delete;
    AmlParser& operator=(const AmlParser&) = delete;

    void Parse(const AmlChunkSource& source, LoadObserver* observer) {
        std::uint64_t read = 0;
        for (;;) {
            void* buffer = XML_GetBuffer(parser_, kChunkSize);
            if (!buffer) throw ServerError(kServerErrorNumber, sourceName_ + ": out of memory");
            const std::size_t got = source(static_cast<char*>(buffer), kChunkSize);
            const bool last = got == 0;
            if (XML_ParseBuffer(parser_, static_cast<int>(got), last) != XML_STATUS_OK) ThrowParseError();
            if (last) return;
            read += got;
            if (observer) observer->Read(read);
        }
    }

    void ExpectIds(std::size_t count) { ids_.Reserve(count); }

    std::unique_ptr<DatabaseImpl> Finish(std::ostream& report) {
        ResolveTargets();
        ResolveLinks();
        ResolveOccurrences();
        db_->BuildIndexes();
        ReportDanglingReferences(report);
        ReportUnmappedTypes(report);
        return std::move(db_);
    }

private:
    // --- expat callbacks: never let an exception pass through the C library -----------------

    static void XMLCALL OnStart(void* self, const XML_Char* name, const XML_Char** atts) {
        static_cast<AmlParser*>(self)->Guarded([&](AmlParser& p) { p.Start(name, atts); });
    }
    static void XMLCALL OnEnd(void* self, const XML_Char*) {
        static_cast<AmlParser*>(self)->Guarded([](AmlParser& p) { p.End(); });
    }
    static void XMLCALL OnText(void* self, const XML_Char* s, int len) {
        static_cast<AmlParser*>(self)->Guarded([&](AmlParser& p) { p.Text(s, len); });
    }
    static int XMLCALL OnExternalEntity(XML_Parser parser, const XML_Char*, const XML_Char*, const XML_Char* systemId,
                                        const XML_Char*) {
        auto* self = static_cast<AmlParser*>(XML_GetUserData(parser));
        if (!self->failure_) {
            self->failure_ = self->Where() + "external entity \"" + (systemId ? systemId : "") +
                             "\" is not loaded: an export must be self-contained";
        }
        return XML_STATUS_ERROR;
    }
    static void XMLCALL OnSkippedEntity(void* self, const XML_Char* name, int isParameterEntity) {
        if (isParameterEntity) return;
        auto* p = static_cast<AmlParser*>(self);
        p->Guarded(
            [&](AmlParser& q) { q.Fail(std::string("entity '&") + name + ";' is not declared in the document"); });
    }

    template <class Fn>
    void Guarded(Fn&& fn) {
        if (failure_) return;
        try {
            fn(*this);
        } catch (const ReadFailure& f) {
            Stop(f.message);
        } catch (const std::exception& e) {
            Stop(Where() + e.what());
        }
    }

    void Stop(const std::string& message) {
        failure_ = message;
        XML_StopParser(parser_, XML_FALSE);
    }

    [[noreturn]] void ThrowParseError() {
        if (failure_) throw ServerError(kServerErrorNumber, *failure_);
        const XML_Error code = XML_GetErrorCode(parser_);
        throw ServerError(kServerErrorNumber, Where() + "not a well-formed XML document: " + XML_ErrorString(code));
    }

    std::string Where() const {
        return "ARIS export " + sourceName_ + ", line " + std::to_string(XML_GetCurrentLineNumber(parser_)) +
               ", column " + std::to_string(XML_GetCurrentColumnNumber(parser_) + 1) + ": ";
    }

    [[noreturn]] void Fail(const std::string& what) const { throw ReadFailure{Where() + what}; }

    int Line() const { return static_cast<int>(XML_GetCurrentLineNumber(parser_)); }

    // --- elements ----------------------------------------------------------------------------

    void Start(const char* name, const char** atts) {
        if (skipDepth_ > 0) {
            ++skipDepth_;
            return;
        }
        const Frame& top = frames_.back();
        switch (top.ctx) {
            case Ctx::Document: return StartDocument(name);
            case Ctx::Aml: return StartInAml(name, atts);
            case Ctx::Group: return StartInGroup(name, atts);
            case Ctx::ObjDef: return StartInObjDef(name, atts);
            case Ctx::CxnDef: return StartInCxnDef(name, atts);
            case Ctx::Model: return StartInModel(name, atts);
            case Ctx::ObjOcc: return StartInObjOcc(name, atts);
            case Ctx::CxnOcc: return StartInCxnOcc(name, atts);
            case Ctx::AttrDef: return StartInAttrDef(name, atts);
            case Ctx::AttrValue:
            case Ctx::Styled: return StartInStyledText(name, atts);
            case Ctx::Text: return Skip();
        }
    }

    void End() {
        if (skipDepth_ > 0) {
            --skipDepth_;
            return;
        }
        Frame& top = frames_.back();
        switch (top.ctx) {
            case Ctx::Group:
            case Ctx::CxnDef: FinishAttributes(top); break;
            case Ctx::ObjDef: EndObjDef(top); break;
            case Ctx::Model: EndModel(top); break;
            case Ctx::ObjOcc: EndObjOcc(top); break;
            case Ctx::AttrValue: EndAttrValue(); break;
            case Ctx::Text: EndText(top, frames_[frames_.size() - 2]); break;
            default: break;
        }
        if (top.ctx == Ctx::AttrValue || top.ctx == Ctx::Text) ListenToText(false);
        frames_.pop_back();
    }

    // Character data matters only inside attribute values and text elements: elsewhere expat
    // need not report the white space between elements.
    void ListenToText(bool listen) { XML_SetCharacterDataHandler(parser_, listen ? &AmlParser::OnText : nullptr); }

    void Text(const char* s, int len) {
        if (skipDepth_ > 0) return;
        const Ctx ctx = frames_.back().ctx;
        if (ctx == Ctx::AttrValue) plainText_.append(s, static_cast<std::size_t>(len));
        else if (ctx == Ctx::Text) elementText_.append(s, static_cast<std::size_t>(len));
    }

    void Skip() { skipDepth_ = 1; }

    Frame& Push(Ctx ctx) {
        Frame frame;
        frame.ctx = ctx;
        frame.group = frames_.back().group;
        frame.model = frames_.back().model;
        frames_.push_back(std::move(frame));
        if (ctx == Ctx::AttrValue || ctx == Ctx::Text) ListenToText(true);
        return frames_.back();
    }

    void StartDocument(const char* name) {
        if (std::strcmp(name, "AML") != 0) {
            Fail(std::string("not an ARIS export: the document element is <") + name + ">, expected <AML>");
        }
        Push(Ctx::Aml);
    }

    void StartInAml(const char* name, const char** atts) {
        if (std::strcmp(name, "Group") == 0) return StartGroup(atts);
        if (std::strcmp(name, "Language") == 0) {
            if (const char* loc = FindAttr(atts, "LocaleId")) NoteLocale(RequireLocale(loc));
        }
        Skip();
    }

    void StartInGroup(const char* name, const char** atts) {
        if (std::strcmp(name, "Group") == 0) return StartGroup(atts);
        if (std::strcmp(name, "ObjDef") == 0) return StartObjDef(atts);
        if (std::strcmp(name, "Model") == 0) return StartModel(atts);
        if (StartItemChild(name, atts)) return;
        Skip();
    }

    void StartInObjDef(const char* name, const char** atts) {
        if (std::strcmp(name, "CxnDef") == 0) return StartCxnDef(atts);
        if (std::strcmp(name, "SymbolGUID") == 0) return StartText(TextTarget::TypeGuid);
        if (StartItemChild(name, atts)) return;
        Skip();
    }

    void StartInCxnDef(const char* name, const char** atts) {
        if (StartItemChild(name, atts)) return;
        Skip();
    }

    void StartInModel(const char* name, const char** atts) {
        if (std::strcmp(name, "ObjOcc") == 0) return StartObjOcc(atts);
        if (std::strcmp(name, "TypeGUID") == 0) return StartText(TextTarget::TypeGuid);
        if (StartItemChild(name, atts)) return;
        Skip();
    }

    void StartInObjOcc(const char* name, const char** atts) {
        if (std::strcmp(name, "CxnOcc") == 0) return StartCxnOcc(atts);
        if (std::strcmp(name, "SymbolGUID") == 0) return StartText(TextTarget::TypeGuid);
        if (std::strcmp(name, "Position") == 0 && !frames_.back().placed) {
            ObjOccImpl& occ = *frames_.back().objOcc;
            ReadPosition(atts, occ.x, occ.y);
            frames_.back().placed = true;
        }
        Skip();
    }

    void StartInCxnOcc(const char* name, const char** atts) {
        if (std::strcmp(name, "Position") == 0 && !frames_.back().placed) {
            CxnOccImpl& occ = *frames_.back().cxnOcc;
            ReadPosition(atts, occ.x, occ.y);
            frames_.back().placed = true;
        }
        Skip();
    }

    void StartInAttrDef(const char* name, const char** atts) {
        if (std::strcmp(name, "AttrValue") != 0) return Skip();
        valueHasLocale_ = false;
        valueLocale_ = 0;
        if (const char* loc = FindAttr(atts, "LocaleId")) {
            valueHasLocale_ = true;
            valueLocale_ = RequireLocale(loc);
            NoteLocale(valueLocale_);
        }
        plainText_.clear();
        styledText_.clear();
        styled_ = false;
        paragraphs_ = 0;
        Push(Ctx::AttrValue);
    }

    // Formatted text: PlainText pieces in document order, LineBreak as a line end, and a line
    // end between paragraphs.
    void StartInStyledText(const char* name, const char** atts) {
        if (std::strcmp(name, "StyledElement") == 0) {
            styled_ = true;
            Push(Ctx::Styled);
            return;
        }
        if (frames_.back().ctx == Ctx::Styled) {
            if (std::strcmp(name, "PlainText") == 0) {
                if (const char* value = FindAttr(atts, "TextValue")) styledText_ += value;
            } else if (std::strcmp(name, "LineBreak") == 0) {
                styledText_ += '\n';
            } else if (std::strcmp(name, "Paragraph") == 0) {
                if (paragraphs_++ > 0) styledText_ += '\n';
            }
        }
        Skip();
    }

    // GUID and AttrDef children, common to groups, definitions and models.
    bool StartItemChild(const char* name, const char** atts) {
        if (std::strcmp(name, "GUID") == 0) {
            StartText(TextTarget::Guid);
            return true;
        }
        if (std::strcmp(name, "AttrDef") == 0) {
            StartAttrDef(atts);
            return true;
        }
        return false;
    }

    void StartText(TextTarget target) {
        elementText_.clear();
        Push(Ctx::Text).textTarget = target;
    }

    void EndText(const Frame& text, Frame& owner) {
        const std::string_view value = text::Trim(elementText_);
        if (text.textTarget == TextTarget::Guid) {
            // The last GUID counts; an empty one leaves the id as the identity.
            if (owner.identity) *owner.identity = value.empty() ? owner.id : db_->Texts().Add(value);
        } else {
            owner.typeGuid = std::string(value);
        }
    }

    void StartGroup(const char** atts) {
        GroupImpl& group = db_->groups.emplace_back();
        group.identity = RequireId(atts, "Group.ID", "Group", IdKind::Group, &group);
        group.parent = frames_.back().group;
        Frame& frame = PushItem(Ctx::Group, group.identity, group.attrs);
        frame.group = &group;
    }

    void StartObjDef(const char** atts) {
        ObjDefImpl& def = db_->objDefs.emplace_back();
        def.index = static_cast<std::uint32_t>(db_->objDefs.size() - 1);
        def.identity = RequireId(atts, "ObjDef.ID", "ObjDef", IdKind::ObjDef, &def);
        def.db = db_.get();
        def.group = frames_.back().group;
        def.type = Catalog().Resolve(TypeKind::Object, RequireAttr(atts, "TypeNum", "ObjDef"));
        Frame& frame = PushItem(Ctx::ObjDef, def.identity, def.attrs);
        frame.objDef = &def;
        if (const char* symbol = FindAttr(atts, "SymbolNum")) frame.writtenType = symbol;
        if (const char* links = FindAttr(atts, "LinkedModels.IdRefs")) {
            pendingLinks_.push_back(PendingLinks{&def, scratch_.Add(links), Line()});
        }
    }

    void EndObjDef(Frame& frame) {
        frame.objDef->defaultSymbol = ResolveWithGuid(TypeKind::Symbol, frame.writtenType, frame.typeGuid);
        FinishAttributes(frame);
    }

    void StartCxnDef(const char** atts) {
        CxnDefImpl& cxn = db_->cxnDefs.emplace_back();
        cxn.identity = RequireId(atts, "CxnDef.ID", "CxnDef", IdKind::CxnDef, &cxn);
        cxn.type = Catalog().Resolve(TypeKind::Connection, RequireAttr(atts, "CxnDef.Type", "CxnDef"));
        cxn.source = frames_.back().objDef;
        const char* target = FindAttr(atts, "ToObjDef.IdRef");
        const std::string_view ref = target ? target : "";
        cxn.target = static_cast<ObjDefImpl*>(ids_.Find(ref, IdKind::ObjDef));
        if (!cxn.target) pendingTargets_.push_back(PendingTarget{&cxn, scratch_.Add(ref), Line()});
        if (const char* links = FindAttr(atts, "LinkedModels.IdRefs")) {
            pendingLinks_.push_back(PendingLinks{nullptr, scratch_.Add(links), Line()});
        }
        PushItem(Ctx::CxnDef, cxn.identity, cxn.attrs);
    }

    void StartModel(const char** atts) {
        ModelImpl& model = db_->models.emplace_back();
        model.index = static_cast<std::uint32_t>(db_->models.size() - 1);
        model.identity = RequireId(atts, "Model.ID", "Model", IdKind::Model, &model);
        model.db = db_.get();
        model.group = frames_.back().group;
        Frame& frame = PushItem(Ctx::Model, model.identity, model.attrs);
        frame.model = &model;
        frame.writtenType = RequireAttr(atts, "Model.Type", "Model");
    }

    void EndModel(Frame& frame) {
        frame.model->type = ResolveWithGuid(TypeKind::Model, frame.writtenType, frame.typeGuid);
        FinishAttributes(frame);
    }

    void StartObjOcc(const char** atts) {
        NoteOptionalId(atts, "ObjOcc.ID");
        ObjOccImpl& occ = db_->objOccs.emplace_back();
        occ.model = frames_.back().model;
        const char* def = FindAttr(atts, "ObjDef.IdRef");
        const std::string_view ref = def ? def : "";
        occ.objDef = static_cast<ObjDefImpl*>(ids_.Find(ref, IdKind::ObjDef));
        if (!occ.objDef) pendingOccs_.push_back(PendingOcc{&occ, scratch_.Add(ref), Line()});
        Frame& frame = Push(Ctx::ObjOcc);
        frame.objOcc = &occ;
        if (const char* symbol = FindAttr(atts, "SymbolNum")) frame.writtenType = symbol;
    }

    void EndObjOcc(Frame& frame) {
        frame.objOcc->symbol = ResolveWithGuid(TypeKind::Symbol, frame.writtenType, frame.typeGuid);
    }

    void StartCxnOcc(const char** atts) {
        NoteOptionalId(atts, "CxnOcc.ID");
        CxnOccImpl& occ = db_->cxnOccs.emplace_back();
        occ.model = frames_.back().model;
        const char* cxn = FindAttr(atts, "CxnDef.IdRef");
        const std::string_view ref = cxn ? cxn : "";
        occ.cxnDef = static_cast<CxnDefImpl*>(ids_.Find(ref, IdKind::CxnDef));
        if (!occ.cxnDef) pendingCxnOccs_.push_back(PendingCxnOcc{&occ, scratch_.Add(ref), Line()});
        Push(Ctx::CxnOcc).cxnOcc = &occ;
    }

    // An item's frame: GUID and AttrDef children go to the item.
    Frame& PushItem(Ctx ctx, std::string_view& identity, repo::Attributes& attrs) {
        Frame& frame = Push(ctx);
        frame.identity = &identity;
        frame.id = identity;
        frame.attrs = &attrs;
        frame.stagingBase = staging_.size();
        return frame;
    }

    void StartAttrDef(const char** atts) {
        attrType_ = Catalog().Resolve(TypeKind::Attribute, RequireAttr(atts, "AttrDef.Type", "AttrDef"));
        Push(Ctx::AttrDef);
    }

    void EndAttrValue() {
        // Names and attribute values reach the program with CR LF line breaks, as ARIS delivers
        // them: the XML parser hands over each line end of the file as LF, while a CR or LF
        // written as a character reference stays as it is.
        const std::string_view value =
            platform::WithCrLfLineBreaks(styled_ ? styledText_ : plainText_, lineBreakBuffer_);
        staging_.emplace_back(attrType_, db_->Texts().Add(value), valueHasLocale_, valueLocale_);
    }

    // The item's values, read into the staging area in file order, grouped by type in order of
    // first appearance; a value for a locale already present (or a second value without
    // locale) takes the earlier one's place. Then kept side by side for the item.
    void FinishAttributes(const Frame& item) {
        const std::size_t base = item.stagingBase;
        const std::size_t count = staging_.size() - base;
        if (count == 0) return;
        AttrValue* values = staging_.data() + base;
        std::vector<std::uint32_t>& group = groupOf_;
        group.assign(count, 0);
        const std::uint32_t groups = GroupByType(values, count, group);
        constexpr std::uint32_t kReplaced = static_cast<std::uint32_t>(-1);
        ReplaceRepeatedLocales(values, count, group, kReplaced);
        // Counting sort by group keeps the file order inside a group.
        std::vector<std::uint32_t>& start = groupStart_;
        start.assign(groups + 1, 0);
        for (std::size_t i = 0; i < count; ++i)
            if (group[i] != kReplaced) ++start[group[i] + 1];
        for (std::uint32_t g = 0; g < groups; ++g) start[g + 1] += start[g];
        const std::size_t kept = start[groups];
        grouped_.resize(kept);
        for (std::size_t i = 0; i < count; ++i)
            if (group[i] != kReplaced) grouped_[start[group[i]]++] = values[i];
        item.attrs->Assign(db_->KeepAttributes(grouped_.data(), kept), kept);
        staging_.resize(base);
    }

    // The group (type in order of first appearance) of every value; returns the group count.
    std::uint32_t GroupByType(const AttrValue* values, std::size_t count, std::vector<std::uint32_t>& group) {
        constexpr std::size_t kHashFrom = 16;
        types_.clear();
        typeIndex_.clear();
        for (std::size_t i = 0; i < count; ++i) {
            const TypeInfo* type = values[i].type;
            std::uint32_t g = static_cast<std::uint32_t>(types_.size());
            if (types_.size() < kHashFrom) {
                auto same = std::find(types_.begin(), types_.end(), type);
                if (same != types_.end()) g = static_cast<std::uint32_t>(same - types_.begin());
            } else {
                if (typeIndex_.empty())
                    for (std::size_t t = 0; t < types_.size(); ++t) typeIndex_.emplace(types_[t], t);
                auto [it, added] = typeIndex_.emplace(type, types_.size());
                g = static_cast<std::uint32_t>(it->second);
            }
            if (g == types_.size()) types_.push_back(type);
            group[i] = g;
        }
        return static_cast<std::uint32_t>(types_.size());
    }

    // A later value for the same type and locale (or without locale) replaces the earlier
    // value's text and is marked replaced.
    void ReplaceRepeatedLocales(AttrValue* values, std::size_t count, std::vector<std::uint32_t>& group,
                                std::uint32_t replaced) {
        constexpr std::size_t kHashFrom = 32;
        auto keyOf = [&](std::size_t i) {
            const std::uint64_t locale =
                values[i].HasLocale() ? static_cast<std::uint32_t>(values[i].Locale()) + 1ULL : 0ULL;
            return (static_cast<std::uint64_t>(group[i]) << 33) | locale;
        };
        if (count < kHashFrom) {
            for (std::size_t i = 1; i < count; ++i) {
                for (std::size_t j = 0; j < i; ++j) {
                    if (group[j] == replaced || keyOf(j) != keyOf(i)) continue;
                    values[j].SetText(values[i].Text());
                    group[i] = replaced;
                    break;
                }
            }
            return;
        }
        valueIndex_.clear();
        for (std::size_t i = 0; i < count; ++i) {
            auto [it, added] = valueIndex_.emplace(keyOf(i), i);
            if (added) continue;
            values[it->second].SetText(values[i].Text());
            group[i] = replaced;
        }
    }

    // --- attribute values --------------------------------------------------------------------

    TypeCatalog& Catalog() { return db_->Catalog(); }

    // A user-defined symbol or model type is written as the built-in one it derives from plus its
    // GUID: a GUID the tables know wins; otherwise the written name counts, else the GUID itself.
    const TypeInfo* ResolveWithGuid(TypeKind kind, const std::string& written, const std::string& guid) {
        if (!guid.empty()) {
            if (const TypeInfo* known = Catalog().ResolveKnownGuid(kind, guid)) return known;
        }
        if (!written.empty()) return Catalog().Resolve(kind, written);
        return guid.empty() ? nullptr : Catalog().Resolve(kind, guid);
    }

    std::string RequireAttr(const char** atts, const char* attr, const char* element) const {
        const char* value = FindAttr(atts, attr);
        if (!value || text::Trim(value).empty()) Fail(std::string("<") + element + "> without " + attr);
        return value;
    }

    // The item's id, kept in the database's text pool and recorded for its references.
    std::string_view RequireId(const char** atts, const char* attr, const char* element, IdKind kind, void* item) {
        const std::string written = RequireAttr(atts, attr, element);
        const std::string_view id = db_->Texts().Add(written);
        if (!ids_.Insert(id, kind, item)) Fail("duplicate id '" + written + "' in " + attr);
        return id;
    }

    // An occurrence's id: nothing refers to it, but it must be unique too.
    void NoteOptionalId(const char** atts, const char* attr) {
        const char* id = FindAttr(atts, attr);
        if (id && !ids_.Insert(scratch_.Add(id), IdKind::Occurrence, nullptr))
            Fail("duplicate id '" + std::string(id) + "' in " + attr);
    }

    LocaleId RequireLocale(const char* written) const {
        std::optional<LocaleId> loc = ParseLocale(written);
        if (!loc) Fail("LocaleId '" + std::string(written) + "' is neither a locale number nor a known language tag");
        return *loc;
    }

    void NoteLocale(LocaleId loc) {
        if (localesSeen_.insert(loc).second) db_->locales.push_back(loc);
    }

    void ReadPosition(const char** atts, int& x, int& y) const {
        x = ReadCoordinate(atts, "Pos.X");
        y = ReadCoordinate(atts, "Pos.Y");
    }

    int ReadCoordinate(const char** atts, const char* attr) const {
        const char* value = FindAttr(atts, attr);
        if (!value) return 0;
        std::optional<int> number = text::ParseInt(text::Trim(value));
        if (!number) Fail(std::string(attr) + " '" + value + "' is not a whole number");
        return *number;
    }

    // --- references --------------------------------------------------------------------------

    template <class T>
    T* Lookup(std::string_view ref, IdKind kind, const char* attr, int line) {
        if (void* item = ids_.Find(ref, kind)) return static_cast<T*>(item);
        NoteDangling(attr, ref, line);
        return nullptr;
    }

    // Counts a reference to a missing id and keeps the one nearest the start of the file.
    void NoteDangling(const char* attr, std::string_view ref, int line) {
        if (danglingCount_++ == 0 || line < firstDanglingLine_) {
            firstDanglingLine_ = line;
            firstDangling_ = std::string(attr) + "=\"" + std::string(ref) + "\" at line " + std::to_string(line);
        }
    }

    void ResolveTargets() {
        for (const PendingTarget& pending : pendingTargets_) {
            pending.cxn->target = Lookup<ObjDefImpl>(pending.ref, IdKind::ObjDef, "ToObjDef.IdRef", pending.line);
        }
    }

    void ResolveLinks() {
        std::vector<const Model*> models;
        for (const PendingLinks& pending : pendingLinks_) {
            models.clear();
            const std::string_view refs = pending.refs;
            std::size_t pos = 0;
            while (pos < refs.size()) {
                std::size_t end = refs.find_first_of(" \t\r\n", pos);
                if (end == std::string_view::npos) end = refs.size();
                if (end > pos) {
                    const std::string_view ref = refs.substr(pos, end - pos);
                    if (ModelImpl* model = Lookup<ModelImpl>(ref, IdKind::Model, "LinkedModels.IdRefs", pending.line)) {
                        models.push_back(model);
                    }
                }
                pos = end + 1;
            }
            if (pending.objDef) pending.objDef->linkedModels = db_->AddLinkedModels(models);
        }
    }

    // Occurrences whose definition or connection came later in the file; those still missing
    // stay unlinked.
    void ResolveOccurrences() {
        for (const PendingOcc& pending : pendingOccs_) {
            pending.occ->objDef = Lookup<ObjDefImpl>(pending.objDefRef, IdKind::ObjDef, "ObjDef.IdRef", pending.line);
        }
        for (const PendingCxnOcc& pending : pendingCxnOccs_) {
            // A connection whose target was dropped is not linked, and neither are its placements.
            pending.occ->cxnDef = Lookup<CxnDefImpl>(pending.cxnDefRef, IdKind::CxnDef, "CxnDef.IdRef", pending.line);
        }
    }

    // --- load report -------------------------------------------------------------------------

    void ReportDanglingReferences(std::ostream& report) const {
        if (danglingCount_ == 0) return;
        report << sourceName_ << ": " << danglingCount_
               << (danglingCount_ == 1 ? " reference names an id" : " references name ids")
               << " not in the file (a partial export?) and " << (danglingCount_ == 1 ? "was" : "were")
               << " dropped; the first: " << firstDangling_ << "\n";
    }

    void ReportUnmappedTypes(std::ostream& report) {
        // By kind, and within a kind in order of first use.
        std::vector<std::pair<const TypeInfo*, int>> unmapped = Catalog().Unmapped();
        if (unmapped.empty()) return;
        std::stable_sort(unmapped.begin(), unmapped.end(),
                         [](const auto& a, const auto& b) { return a.first->kind < b.first->kind; });
        report << sourceName_ << ": " << unmapped.size()
               << (unmapped.size() == 1 ? " type name has" : " type names have")
               << " no ARIS type number and match no mapping rule; add them to a type table (the user's"
                  " types.tsv or the server folder's, see kvbrars(1)):\n";
        for (const auto& [type, count] : unmapped) {
            report << "  " << TypeKindWord(type->kind) << " type " << type->apiName << " (" << count
                   << (count == 1 ? " use" : " uses") << ")\n";
        }
    }

    XML_Parser parser_ = nullptr;
    std::string sourceName_;
    std::unique_ptr<DatabaseImpl> db_;
    std::optional<std::string> failure_;

    std::vector<Frame> frames_;
    int skipDepth_ = 0;

    // The attribute being read.
    const TypeInfo* attrType_ = nullptr;
    bool valueHasLocale_ = false;
    LocaleId valueLocale_ = 0;
    std::string plainText_;
    std::string styledText_;
    std::string lineBreakBuffer_;  // a value with its line breaks made CR LF
    bool styled_ = false;
    int paragraphs_ = 0;
    // Text of a GUID, SymbolGUID or TypeGUID element.
    std::string elementText_;
    // Attribute values of the items being read, innermost item last, and the work areas that
    // group them when an item ends.
    std::vector<AttrValue> staging_;
    std::vector<AttrValue> grouped_;
    std::vector<std::uint32_t> groupOf_;
    std::vector<std::uint32_t> groupStart_;
    std::vector<const TypeInfo*> types_;
    std::unordered_map<const TypeInfo*, std::size_t> typeIndex_;
    std::unordered_map<std::uint64_t, std::size_t> valueIndex_;

    IdTable ids_;
    // Texts needed while reading only: occurrence ids, references not yet resolved.
    repo::TextPool scratch_;
    std::unordered_set<LocaleId> localesSeen_;

    std::vector<PendingOcc> pendingOccs_;
    std::vector<PendingCxnOcc> pendingCxnOccs_;
    std::vector<PendingTarget> pendingTargets_;
    std::vector<PendingLinks> pendingLinks_;
    int danglingCount_ = 0;
    int firstDanglingLine_ = 0;
    std::string firstDangling_;
};

}  // namespace

std::unique_ptr<repo::DatabaseImpl> ReadAml(const AmlChunkSource& source, const std::string& sourceName,
                                            std::unique_ptr<TypeCatalog> catalog, std::ostream& report,
                                            std::size_t expectedBytes, LoadObserver* observer) {
    AmlParser parser(sourceName, std::move(catalog));
    // Exports written by ARIS hold about one id per 300 bytes; the table grows if there are more.
    parser.ExpectIds(expectedBytes / 300);
    parser.Parse(source, observer);
    return parser.Finish(report);
}

}  // namespace aris
