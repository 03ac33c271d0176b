#include "help/HelpPrint.h"

#include <utility>

namespace help {

namespace {
TopicPrinter& Printer() {
    static TopicPrinter printer;
    return printer;
}
} // namespace

void SetTopicPrinter(TopicPrinter printer) {
    Printer() = std::move(printer);
}

const TopicPrinter& InstalledTopicPrinter() {
    return Printer();
}

} // namespace help
