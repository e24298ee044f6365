#include "platform/window/dialog_template.h"

#include <algorithm>

namespace platform::window {

TemplateRegistry& TemplateRegistry::Instance() {
  static TemplateRegistry registry;
  return registry;
}

void TemplateRegistry::Add(DialogTemplate tmpl) {
  auto it = std::find_if(templates_.begin(), templates_.end(),
                         [&](const DialogTemplate& t) { return t.id == tmpl.id; });
  if (it != templates_.end()) {
    *it = std::move(tmpl);
  } else {
    templates_.push_back(std::move(tmpl));
  }
}

const DialogTemplate* TemplateRegistry::Find(int id) const {
  for (const DialogTemplate& t : templates_) {
    if (t.id == id) return &t;
  }
  return nullptr;
}

std::vector<int> TemplateRegistry::Ids() const {
  std::vector<int> ids;
  ids.reserve(templates_.size());
  for (const DialogTemplate& t : templates_) ids.push_back(t.id);
  std::sort(ids.begin(), ids.end());
  return ids;
}

namespace {

std::vector<TemplateFactory>& ListedTemplates() {
  static std::vector<TemplateFactory> listed;
  return listed;
}

}  // namespace

const std::vector<TemplateFactory>& ProgramTemplates() { return ListedTemplates(); }

ProgramTemplateListing::ProgramTemplateListing(TemplateFactory factory) {
  ListedTemplates().push_back(factory);
}

}  // namespace platform::window
