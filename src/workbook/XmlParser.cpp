#include "XmlParser.h"

#include "ReadFailure.h"
#include "ZipArchive.h"

#include <exception>
#include <expat.h>
#include <memory>
#include <string>

namespace workbook {

namespace {

// Between a namespace URI and a local name in expat's names; expat refuses a URI that holds it.
constexpr char namespaceSeparator = '\n';

XmlName splitName(std::string_view name)
{
    const std::size_t separator = name.find(namespaceSeparator);
    if (separator == std::string_view::npos)
        return {{}, name};
    return {name.substr(0, separator), name.substr(separator + 1)};
}

struct ParserFree
{
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

// Runs the handler for expat. An exception must not unwind through expat's C frames: it is kept, the
// parser stopped, and the exception thrown again once expat has returned.
class Session
{
public:
    Session(XmlHandler &handler, const std::string &part)
        : handler(handler), part(part), parser(XML_ParserCreateNS(nullptr, namespaceSeparator))
    {
        if (!parser)
            throw std::bad_alloc();
        XML_SetUserData(parser.get(), this);
        XML_SetElementHandler(parser.get(), &Session::start, &Session::end);
        XML_SetCharacterDataHandler(parser.get(), &Session::text);
        XML_SetStartDoctypeDeclHandler(parser.get(), &Session::doctype);
        // Comments and the like: every token that ends is progress.
        XML_SetDefaultHandlerExpand(parser.get(), &Session::other);
    }

    // Expat tokenizes an unfinished token anew with each piece it is given, so that a token spread over many
    // pieces would cost their number times its length. Pieces are held back until they are as long as what
    // has passed without an event, which keeps the cost linear, or until they tell a token too long.
    void feed(std::string_view chunk)
    {
        if (held.empty() && worthParsing(chunk.size())) {
            parse(chunk, false);
            return;
        }
        held.append(chunk);
        if (worthParsing(held.size())) {
            parse(held, false);
            held.clear();
        }
    }

    void finish() { parse(held, true); }

private:
    bool worthParsing(std::size_t size) const
    {
        return size >= unfinished || unfinished + size > maxXmlTokenSize;
    }

    void parse(std::string_view piece, bool last)
    {
        progressed = false;
        const XML_Status status = XML_Parse(parser.get(), piece.data(), static_cast<int>(piece.size()),
                                            last ? XML_TRUE : XML_FALSE);
        if (failure)
            std::rethrow_exception(failure);
        if (status != XML_STATUS_OK)
            throw ReadFailure::inPart(Fault::DamagedPart, part);
        unfinished = progressed ? 0 : unfinished + piece.size();
        if (unfinished > maxXmlTokenSize)
            throw ReadFailure::inPart(Fault::OverlongToken, part);
    }

    template <typename Call> static void guarded(void *data, Call call)
    {
        auto *session = static_cast<Session *>(data);
        session->progressed = true;
        if (session->failure)
            return;
        try {
            call(*session);
        } catch (...) {
            session->failure = std::current_exception();
            XML_StopParser(session->parser.get(), XML_FALSE);
        }
    }

    static void start(void *data, const XML_Char *name, const XML_Char **attributes)
    {
        guarded(data, [&](Session &session) {
            if (++session.depth > maxXmlDepth)
                throw ReadFailure::inPart(Fault::DeepNesting, session.part);
            session.handler.startElement(splitName(name), XmlAttributes(attributes));
        });
    }

    static void end(void *data, const XML_Char *name)
    {
        guarded(data, [&](Session &session) {
            --session.depth;
            session.handler.endElement(splitName(name));
        });
    }

    static void text(void *data, const XML_Char *text, int length)
    {
        guarded(data, [&](Session &session) {
            session.handler.characters({text, static_cast<std::size_t>(length)});
        });
    }

    static void other(void *data, const XML_Char *, int) { static_cast<Session *>(data)->progressed = true; }

    static void doctype(void *data, const XML_Char *, const XML_Char *, const XML_Char *, int)
    {
        XML_StopParser(static_cast<Session *>(data)->parser.get(), XML_FALSE);
    }

    XmlHandler &handler;
    const std::string &part;
    std::unique_ptr<XML_ParserStruct, ParserFree> parser;
    std::exception_ptr failure;
    int depth = 0;
    // Whether the last piece gave an event, and the bytes given since the last that did.
    bool progressed = false;
    std::size_t unfinished = 0;
    std::string held;
};

} // namespace

std::optional<std::string_view> XmlAttributes::value(XmlName name) const
{
    for (const char **pair = pairs; *pair; pair += 2) {
        if (splitName(*pair) == name)
            return pair[1];
    }
    return std::nullopt;
}

void parseXmlPart(const ZipArchive &archive, const std::string &part, XmlHandler &handler)
{
    Session session(handler, part);
    archive.read(part, [&](std::string_view chunk) { session.feed(chunk); });
    session.finish();
}

} // namespace workbook
