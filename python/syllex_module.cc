// The Python module syllex: data conversion around the research library.
//
// Learning runs with the GIL released, touching no Python object, so that
// threads learn in parallel. Text crosses as UTF-8 with surrogate escapes, so
// any byte of a corpus survives the round trip through a Python str.
#include <pybind11/operators.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cmath>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "conversions.h"
#include "model/learner.h"
#include "research/corpus.h"
#include "research/output.h"
#include "research/run.h"
#include "research/scores.h"
#include "research/test_items.h"

namespace py = pybind11;

namespace {

// ---- Text between Python and C++.

py::str pyText(const std::string& text) {
  PyObject* object =
      PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "surrogateescape");
  if (object == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(object);
}

bool isText(py::handle object) {
  return py::isinstance<py::str>(object) || py::isinstance<py::bytes>(object);
}

std::string cText(py::handle object, const char* what) {
  if (py::isinstance<py::bytes>(object)) return object.cast<std::string>();
  if (!py::isinstance<py::str>(object)) {
    throw py::type_error(std::string(what) + " must be a str, not " +
                         std::string(py::str(object.get_type().attr("__name__"))));
  }
  PyObject* bytes = PyUnicode_AsEncodedString(object.ptr(), "utf-8", "surrogateescape");
  if (bytes == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::bytes>(bytes).cast<std::string>();
}

py::list pyList(const std::vector<std::string>& texts) {
  py::list list;
  for (const std::string& text : texts) list.append(pyText(text));
  return list;
}

// Lines of collected messages, without their ends.
std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

void warnAll(const std::vector<std::string>& messages) {
  for (const std::string& message : messages) {
    if (PyErr_WarnEx(PyExc_RuntimeWarning, message.c_str(), 1) != 0) throw py::error_already_set();
  }
}

// ---- Inputs: a str (or bytes) is text; an os.PathLike is a file.

struct Input {
  std::string text;
  std::string name;
};

Input readInputObject(py::handle source, const char* what, const std::string& textName) {
  if (isText(source)) return {cText(source, what), textName};
  py::module_ os = py::module_::import("os");
  if (!py::isinstance(source, os.attr("PathLike"))) {
    throw py::type_error(std::string(what) + " must be a str of text or an os.PathLike path, not " +
                         std::string(py::str(source.get_type().attr("__name__"))));
  }
  // Python's own open, for the usual OSError subclasses and messages.
  py::object file = py::module_::import("io").attr("open")(source, "rb");
  py::object data;
  try {
    data = file.attr("read")();
  } catch (...) {
    file.attr("close")();
    throw;
  }
  file.attr("close")();
  return {data.cast<std::string>(), std::string(py::str(os.attr("fsdecode")(source)))};
}

Format formatNamed(const std::string& name) {
  Format format;
  if (!parseFormat(name, &format)) {
    throw py::value_error("format must be \"corpus\", \"gold\" or \"tagged\", not \"" + name +
                          "\"");
  }
  return format;
}

// Targets in input form for the learner, and as the caller wrote them.
void readTargets(py::handle targets, LearnerParameters* parameters,
                 std::vector<std::string>* given) {
  if (isText(targets)) throw py::type_error("targets must be a sequence of words, not one string");
  for (py::handle target : targets) {
    given->push_back(cText(target, "a target"));
    parameters->targets.push_back(targetInInputForm(given->back()));
  }
}

// A corpus read from an input the way syllex-segment reads it.
Corpus parsed(const Input& input, Format format) {
  ReadOptions reading;
  reading.goldSyllablesOnly = true;
  return parseCorpus(input.text, format, input.name, reading);
}

// ---- Records.

struct LexiconRecord {
  std::string word;
  double codelength;
  int frequency, syllables, id;

  bool operator==(const LexiconRecord& o) const {
    return word == o.word && codelength == o.codelength && frequency == o.frequency &&
           syllables == o.syllables && id == o.id;
  }
};

py::list lexiconList(const std::vector<LexiconEntry>& lexicon) {
  py::list list;
  for (const LexiconEntry& e : lexicon) {
    list.append(LexiconRecord{goldWord(e.text), e.codelength, e.frequency, e.syllables, e.id});
  }
  return list;
}

// Each target as given to its ten blocks, None for a block not completed.
py::dict curvesDict(const std::vector<TargetCurve>& curves, const std::vector<std::string>& given) {
  py::dict dict;
  for (size_t t = 0; t < curves.size() && t < given.size(); ++t) {
    py::list values;
    for (size_t block = 0; block < 10; ++block) {
      if (block < curves[t].blocks.size()) {
        values.append(curves[t].blocks[block]);
      } else {
        values.append(py::none());
      }
    }
    dict[pyText(given[t])] = values;
  }
  return dict;
}

py::object dataFrame(py::dict columns) {
  return py::module_::import("pandas").attr("DataFrame")(columns);
}

py::object lexiconFrame(const std::vector<LexiconEntry>& lexicon) {
  py::list rank, word, codelength, frequency, syllables, id;
  for (size_t i = 0; i < lexicon.size(); ++i) {
    rank.append(i + 1);
    word.append(pyText(goldWord(lexicon[i].text)));
    codelength.append(lexicon[i].codelength);
    frequency.append(lexicon[i].frequency);
    syllables.append(lexicon[i].syllables);
    id.append(lexicon[i].id);
  }
  py::dict columns;
  columns["rank"] = rank;
  columns["word"] = word;
  columns["codelength"] = codelength;
  columns["frequency"] = frequency;
  columns["syllables"] = syllables;
  columns["id"] = id;
  py::object frame = dataFrame(columns);
  // An empty lexicon still gives the columns their types.
  py::dict types;
  for (const char* c : {"rank", "frequency", "syllables", "id"}) types[c] = "int64";
  types["codelength"] = "float64";
  return frame.attr("astype")(types);
}

py::object curvesFrame(const std::vector<TargetCurve>& curves) {
  py::list target, block, value;
  for (const TargetCurve& curve : curves) {
    for (size_t b = 0; b < curve.blocks.size(); ++b) {
      target.append(pyText(goldWord(curve.name)));
      block.append(b + 1);
      value.append(curve.blocks[b]);
    }
  }
  py::dict columns;
  columns["target"] = target;
  columns["block"] = block;
  columns["value"] = value;
  py::dict types;
  types["block"] = "int64";
  types["value"] = "float64";
  return dataFrame(columns).attr("astype")(types);
}

std::vector<TestItem> testItemsFrom(py::handle items) {
  if (isText(items)) throw py::type_error("items must be a sequence of items, not one string");
  std::vector<TestItem> out;
  int index = 0;
  for (py::handle entry : items) {
    ++index;
    std::string item, label;
    if (isText(entry)) {
      item = cText(entry, "a test item");
    } else {
      py::tuple pair = py::tuple(py::reinterpret_borrow<py::object>(entry));
      if (pair.size() != 2) {
        throw py::value_error("test item " + std::to_string(index) +
                              " must be a string or an (item, class) pair");
      }
      item = cText(pair[0], "a test item");
      label = cText(pair[1], "a test item's class");
    }
    out.push_back(parseTestItem(item, label, "items", index));
  }
  return out;
}

py::list testItemsList(const Learner& learner, py::handle items) {
  py::list list;
  for (const TestItemMeasure& m : measureTestItems(learner, testItemsFrom(items))) {
    py::dict row;
    row["item"] = pyText(m.item.item);
    row["class"] = pyText(m.item.label);
    row["live"] = m.live;
    row["codelength"] = m.codelength;
    row["bits"] = m.heard ? py::object(py::float_(m.bits)) : py::object(py::none());
    row["pieces"] = m.heard ? py::object(py::int_(m.pieces)) : py::object(py::none());
    list.append(row);
  }
  return list;
}

// ---- Run: a whole learning run's results.

struct PyRun {
  // The learner writes to messages for as long as it lives: declared first,
  // destroyed last.
  std::ostringstream messages;
  Run run;
  std::vector<std::string> targets;  // as given
};

std::unique_ptr<PyRun> learn(py::handle corpus, const std::string& formatName, int memory,
                             int focus, py::handle targets, const std::string& segmentation) {
  auto result = std::make_unique<PyRun>();
  RunOptions options;
  options.parameters.memory = memory;
  options.parameters.focus = focus;
  readTargets(targets, &options.parameters, &result->targets);
  if (segmentation == "final") {
    options.mode = SegmentationMode::kFinal;
  } else if (segmentation != "online") {
    throw py::value_error("segmentation must be \"online\" or \"final\", not \"" + segmentation +
                          "\"");
  }
  const Format format = formatNamed(formatName);
  const Input input = readInputObject(corpus, "corpus", "<text>");
  {
    py::gil_scoped_release released;
    result->run = learnCorpus(parsed(input, format), options, input.name, result->messages);
  }
  warnAll(lines(result->messages.str()));
  return result;
}

// ---- Learner: one run, step by step.

struct StepView {
  int number;
  std::vector<std::string> focus;
  std::string consumed;
  double gain;
  bool hasGain;
  std::string created;
  bool revived, utteranceEnd;
  double memoryBits;

  bool operator==(const StepView& o) const {
    return number == o.number && focus == o.focus && consumed == o.consumed &&
           hasGain == o.hasGain && (!hasGain || gain == o.gain) && created == o.created &&
           revived == o.revived && utteranceEnd == o.utteranceEnd && memoryBits == o.memoryBits;
  }
};

class PyLearner {
 public:
  PyLearner(int memory, int focus, py::handle targets) {
    parameters_.memory = memory;
    parameters_.focus = focus;
    readTargets(targets, &parameters_, &targets_);
    learner_.reset(new Learner(parameters_, messages_));
  }

  void feed(py::handle corpus, const std::string& formatName) {
    const Format format = formatNamed(formatName);
    const Input input = readInputObject(corpus, "corpus", "<text>");
    Guard guard(this);
    if (started_) throw std::runtime_error("feed after the first step: the input is already heard");
    const Corpus checked = parsed(input, format);  // refuses bad input now, with its line
    // The learner's own format joins its pieces as it joins lines; the other
    // formats come as whole utterances.
    pending_ += format == Format::kCorpus ? input.text : toCorpusText(checked);
    names_.push_back(input.name);
  }

  py::object next() {
    Guard guard(this);
    start();
    StepRecord record;
    bool stepped;
    double memoryBits;
    {
      py::gil_scoped_release released;
      stepped = learner_->step(&record);
      memoryBits = learner_->memoryBits();
    }
    warnNew();
    if (!stepped) throw py::stop_iteration();
    StepView step;
    step.number = record.number;
    for (int id : record.focus) step.focus.push_back(goldWord(learner_->text(id)));
    step.consumed = goldWord(learner_->text(record.consumed));
    step.hasGain = record.focus.size() > 1;
    step.gain = record.gain;
    if (record.created > 0) step.created = goldWord(learner_->text(record.created));
    step.revived = record.revived;
    step.utteranceEnd = record.utteranceEnd;
    step.memoryBits = memoryBits;
    return py::cast(step);
  }

  void run() {
    Guard guard(this);
    start();
    {
      py::gil_scoped_release released;
      learner_->run();
    }
    warnNew();
  }

  py::list lexicon() {
    Guard guard(this);
    return lexiconList(learner_->lexicon());
  }
  py::dict curves() {
    Guard guard(this);
    return curvesDict(learner_->curves(), targets_);
  }
  py::object lexiconFrameOf() {
    Guard guard(this);
    return lexiconFrame(learner_->lexicon());
  }
  py::object curvesFrameOf() {
    Guard guard(this);
    return curvesFrame(learner_->curves());
  }
  py::list testItems(py::handle items) {
    Guard guard(this);
    return testItemsList(*learner_, items);
  }
  py::list messages() {
    Guard guard(this);
    return pyList(lines(messages_.str()));
  }
  int steps() {
    Guard guard(this);
    return learner_->steps();
  }

 private:
  // A learner is stepped by one thread at a time; another thread's call while
  // one steps with the GIL released is refused rather than raced.
  class Guard {
   public:
    explicit Guard(PyLearner* owner) : lock_(owner->busy_, std::try_to_lock) {
      if (!lock_.owns_lock()) throw std::runtime_error("this Learner is in use by another thread");
    }

   private:
    std::unique_lock<std::mutex> lock_;
  };

  // Hears the fed input, read as learnCorpus reads it, at the first step.
  void start() {
    if (started_) return;
    const Input input{pending_, names_.size() == 1 ? names_[0] : "<fed input>"};
    {
      py::gil_scoped_release released;
      const Corpus corpus = parsed(input, Format::kCorpus);
      checkLearnable(corpus, input.name);
      learner_->loadCorpus(learnerStream(corpus));
    }
    started_ = true;
    pending_.clear();
  }

  void warnNew() {
    const std::string all = messages_.str();
    const std::string fresh = all.substr(std::min(warned_, all.size()));
    warned_ = all.size();
    warnAll(lines(fresh));
  }

  std::ostringstream messages_;  // before learner_, which writes to it
  LearnerParameters parameters_;
  std::vector<std::string> targets_;
  std::unique_ptr<Learner> learner_;
  std::string pending_;
  std::vector<std::string> names_;
  bool started_ = false;
  size_t warned_ = 0;
  std::mutex busy_;
};

// ---- evaluate: a side is a file, a text in the gold format, or a list.

Corpus goldSide(py::handle side, const std::string& name) {
  if (!isText(side) && !py::isinstance(side, py::module_::import("os").attr("PathLike"))) {
    std::string text;
    int line = 0;
    for (py::handle utterance : side) {
      ++line;
      if (isText(utterance)) {
        const std::string words = cText(utterance, "an utterance");
        checkGoldLine(words, name, line);
        text += words;
      } else {
        std::vector<std::string> words;
        for (py::handle word : utterance) words.push_back(cText(word, "a word"));
        text += goldLine(words, name, line);
      }
      text += '\n';
    }
    return parseCorpus(text, Format::kGold, name);
  }
  const Input input = readInputObject(side, name.c_str(), name);
  return parseCorpus(input.text, Format::kGold, input.name);
}

py::dict evaluateSides(py::handle text, py::handle gold) {
  const Corpus textCorpus = goldSide(text, "text"), goldCorpus = goldSide(gold, "gold");
  std::vector<Score> scores;
  {
    py::gil_scoped_release released;
    scores = evaluate(textCorpus, goldCorpus, "text", "gold");
  }
  py::dict dict;
  for (const Score& score : scores) {
    dict[py::str(score.name)] = score.defined ? py::object(py::float_(score.value)) : py::none();
  }
  return dict;
}

py::object optionalText(const std::string& text) {
  return text.empty() ? py::object(py::none()) : py::object(pyText(text));
}

}  // namespace

PYBIND11_MODULE(syllex, m) {
  m.doc() =
      "syllex: a learner that discovers words in a stream of syllables.\n\n"
      "learn() runs the learner over a whole corpus and returns a Run;\n"
      "Learner steps through one run, yielding a Step per learning step;\n"
      "evaluate() scores a segmentation against a gold one.\n\n"
      "Words are in gold form: syllables joined by '/' (kI/ti). A corpus is a str\n"
      "of text or an os.PathLike path; a plain str is always text. Malformed input\n"
      "raises ValueError naming the file and line; a file that cannot be read\n"
      "raises OSError. The engine's messages never reach standard output: they are\n"
      "kept in .messages and issued as RuntimeWarning. Learning releases the GIL,\n"
      "so runs on several threads proceed in parallel.";
  m.attr("__version__") = SYLLEX_VERSION;

  py::register_exception_translator([](std::exception_ptr error) {
    try {
      if (error) std::rethrow_exception(error);
    } catch (const InputError& e) {
      PyErr_SetString(PyExc_ValueError, e.what());
    } catch (const OutputError& e) {
      PyErr_SetString(PyExc_OSError, e.what());
    }
  });

  py::class_<LexiconRecord>(m, "LexiconEntry",
                            "A chunk of the lexicon: word (gold form), codelength in bits,\n"
                            "frequency, syllables (its syllable count) and id (its chunk id).")
      .def_property_readonly("word", [](const LexiconRecord& e) { return pyText(e.word); })
      .def_readonly("codelength", &LexiconRecord::codelength)
      .def_readonly("frequency", &LexiconRecord::frequency)
      .def_readonly("syllables", &LexiconRecord::syllables)
      .def_readonly("id", &LexiconRecord::id)
      .def(py::self == py::self)
      .def("__hash__",
           [](const LexiconRecord& e) {
             return py::hash(
                 py::make_tuple(pyText(e.word), e.codelength, e.frequency, e.syllables, e.id));
           })
      .def("__repr__", [](const LexiconRecord& e) {
        return py::str(
                   "LexiconEntry(word={!r}, codelength={!r}, frequency={}, syllables={}, "
                   "id={})")
            .format(pyText(e.word), e.codelength, e.frequency, e.syllables, e.id);
      });

  py::class_<StepView>(m, "Step",
                       "One learning step: number (1 for the first), focus (its words, oldest\n"
                       "first), consumed (the word moved into the memory), gain (of merging\n"
                       "the focus's first two words, in bits; None with one word), created\n"
                       "(the chunk created or revived, or None), revived, utterance_end (a\n"
                       "boundary or the end of the input follows) and memory_bits (the\n"
                       "memory's size after the step).")
      .def_readonly("number", &StepView::number)
      .def_property_readonly("focus", [](const StepView& s) { return pyList(s.focus); })
      .def_property_readonly("consumed", [](const StepView& s) { return pyText(s.consumed); })
      .def_property_readonly(
          "gain",
          [](const StepView& s) { return s.hasGain ? py::object(py::float_(s.gain)) : py::none(); })
      .def_property_readonly("created", [](const StepView& s) { return optionalText(s.created); })
      .def_readonly("revived", &StepView::revived)
      .def_readonly("utterance_end", &StepView::utteranceEnd)
      .def_readonly("memory_bits", &StepView::memoryBits)
      .def(py::self == py::self)
      .def("__hash__", [](const StepView& s) { return py::hash(py::make_tuple(s.number)); })
      .def("__repr__", [](const StepView& s) {
        py::object gain = s.hasGain ? py::object(py::float_(s.gain)) : py::none();
        return py::str(
                   "Step(number={}, focus={!r}, consumed={!r}, gain={!r}, created={!r}, "
                   "revived={}, utterance_end={}, memory_bits={!r})")
            .format(s.number, pyList(s.focus), pyText(s.consumed), gain, optionalText(s.created),
                    s.revived, s.utteranceEnd, s.memoryBits);
      });

  py::class_<PyRun>(m, "Run", "The results of learn(): one whole run over a corpus.")
      .def_property_readonly(
          "segmentation",
          [](const PyRun& r) {
            py::list utterances;
            for (const auto& words : utteranceWords(r.run.segmentation)) {
              utterances.append(pyList(words));
            }
            return utterances;
          },
          "The utterances, each a list of words in gold form, as syllex-segment writes them.")
      .def_property_readonly(
          "lexicon", [](const PyRun& r) { return lexiconList(r.run.lexicon); },
          "The final lexicon, a list of LexiconEntry in priority order (codelength\n"
          "increasing, ties to the lower id).")
      .def_property_readonly(
          "curves", [](const PyRun& r) { return curvesDict(r.run.curves, r.targets); },
          "Each target (as given) to its ten block means; None for a block never\n"
          "completed; nan kept as the learner computed it.")
      .def_property_readonly(
          "summary",
          [](const PyRun& r) {
            return py::module_::import("json").attr("loads")(pyText(summaryJson(r.run.summary)));
          },
          "The summary as syllex-segment --summary writes it, as a dict.")
      .def_property_readonly(
          "messages", [](const PyRun& r) { return pyList(lines(r.messages.str())); },
          "The engine's messages during the run, one str a line.")
      .def(
          "test_items",
          [](const PyRun& r, py::handle items) { return testItemsList(*r.run.learner, items); },
          py::arg("items"),
          "Measures test items against the final lexicon. items: strings (tu/pi/ro)\n"
          "or (item, class) pairs. Returns a dict per item: item, class, live (a live\n"
          "chunk spells it), codelength (10 without one), bits and pieces (the item\n"
          "factorized with the final lexicon; None when a syllable was never heard).")
      .def(
          "lexicon_frame", [](const PyRun& r) { return lexiconFrame(r.run.lexicon); },
          "The lexicon as a pandas DataFrame: rank word codelength frequency syllables id.")
      .def(
          "curves_frame", [](const PyRun& r) { return curvesFrame(r.run.curves); },
          "The curves as a pandas DataFrame, a row per completed block: target (gold\n"
          "form) block value.")
      .def(
          "lexicon_tsv", [](const PyRun& r) { return pyText(lexiconTsv(r.run.lexicon)); },
          "The lexicon as syllex-segment --lexicon writes it.")
      .def(
          "curves_tsv", [](const PyRun& r) { return pyText(curvesTsv(r.run.curves)); },
          "The curves as syllex-segment --curves writes them.")
      .def(
          "segmentation_text",
          [](const PyRun& r) { return pyText(toGoldText(r.run.segmentation)); },
          "The segmentation in the gold format, as syllex-segment writes it.")
      .def("__repr__", [](const PyRun& r) {
        return py::str("<syllex.Run: {} utterances, {} steps, lexicon of {}>")
            .format(r.run.summary.utterances, r.run.summary.steps, r.run.lexicon.size());
      });

  m.def("learn", &learn, py::arg("corpus"), py::kw_only(), py::arg("format") = "corpus",
        py::arg("memory") = 150, py::arg("focus") = 25, py::arg("targets") = py::tuple(),
        py::arg("segmentation") = "online",
        "learn(corpus, *, format='corpus', memory=150, focus=25, targets=(),\n"
        "      segmentation='online') -> Run\n\n"
        "Learns a corpus in one pass, as syllex-segment does, with the GIL released.\n"
        "corpus: a str (or bytes) of text, or an os.PathLike path to a file.\n"
        "format: 'corpus' (the learner's format), 'gold' or 'tagged'.\n"
        "memory, focus: capacities in bits. targets: words whose codelength is\n"
        "followed, in gold (kI/ti) or input (kI/ti/) form.\n"
        "segmentation: 'online' (the chunks the steps consume) or 'final' (every\n"
        "utterance factorized with the final lexicon).");

  m.def("evaluate", &evaluateSides, py::arg("text"), py::arg("gold"),
        "evaluate(text, gold) -> dict\n\n"
        "The twelve segmentation scores of syllex-eval, keys as it prints them,\n"
        "None when undefined. Each side is a list of utterances, each a str of\n"
        "words ('the dog/gy') or a list of words (['the', 'dog/gy']); or a str of\n"
        "text in the gold format; or an os.PathLike path to such a file. An empty\n"
        "utterance is skipped, as a blank line is.");

  py::class_<PyLearner>(m, "Learner",
                        "Learner(memory=150, focus=25, targets=())\n\n"
                        "One learning run, step by step. feed() the input (several times if\n"
                        "need be, before the first step); iterate to get a Step per learning\n"
                        "step, or run() to the end. A Learner is used by one thread at a\n"
                        "time; a call from another while it steps raises RuntimeError.")
      .def(py::init<int, int, py::handle>(), py::arg("memory") = 150, py::arg("focus") = 25,
           py::arg("targets") = py::tuple())
      .def("feed", &PyLearner::feed, py::arg("corpus"), py::arg("format") = "corpus",
           "Adds input: a str of text or an os.PathLike path, in the format given.\n"
           "Pieces in the learner's format are joined as its lines are (a piece may\n"
           "end inside an utterance); gold and tagged pieces add whole utterances.\n"
           "Raises RuntimeError once stepping has begun.")
      .def("__iter__", [](py::object self) { return self; })
      .def("__next__", &PyLearner::next, "The next Step; StopIteration at the end of the input.")
      .def("run", &PyLearner::run, "Runs the remaining steps, with the GIL released.")
      .def_property_readonly("lexicon", &PyLearner::lexicon,
                             "The lexicon now, a list of LexiconEntry in priority order.")
      .def_property_readonly("curves", &PyLearner::curves,
                             "Each target (as given) to its ten block means, None for a block "
                             "not completed.")
      .def_property_readonly("steps", &PyLearner::steps, "The steps taken so far.")
      .def_property_readonly("messages", &PyLearner::messages,
                             "The engine's messages so far, one str a line.")
      .def("lexicon_frame", &PyLearner::lexiconFrameOf, "The lexicon now as a pandas DataFrame.")
      .def("curves_frame", &PyLearner::curvesFrameOf, "The curves now as a pandas DataFrame.")
      .def("test_items", &PyLearner::testItems, py::arg("items"),
           "Measures test items against the lexicon now, as Run.test_items does.");
}
