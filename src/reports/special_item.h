// Target items: words whose codelength the learner follows over a run.
//
// A SpecialItem collects one value per consumed syllable in timeCourse; each
// time timeCourseSize values are in, their mean goes to the next of the 10
// slots of averagedTimeCourse (slots not filled stay 0.0).
#ifndef SYLLEX_REPORTS_SPECIAL_ITEM_H_
#define SYLLEX_REPORTS_SPECIAL_ITEM_H_

#include <memory>
#include <string>

class SpecialItem {
 public:
  SpecialItem() = default;
  SpecialItem(const SpecialItem&) = delete;
  SpecialItem& operator=(const SpecialItem&) = delete;

  // Sizes the item for an input of n ids: blocks of n / 10 values.
  void buildSpecialItem(int n);
  void addValue(double value);
  void calculateAverageValue();
  std::string toString() const;

  std::string name;
  std::unique_ptr<double[]> averagedTimeCourse;
  std::unique_ptr<double[]> timeCourse;
  int averagedTimeCourseSize = 0;
  int averagedTimeCourseSizeMax = 0;
  int timeCourseIndex = 0;
  int timeCourseSize = 0;
};

class SpecialItems {
 public:
  SpecialItems() = default;
  ~SpecialItems();
  SpecialItems(const SpecialItems&) = delete;
  SpecialItems& operator=(const SpecialItems&) = delete;

  void buildSpecialItems(int n);
  void buildAllSpecialItems(int n);
  std::string toString() const;

  SpecialItem* itemArray = nullptr;
  int itemCount = 0;
};

#endif  // SYLLEX_REPORTS_SPECIAL_ITEM_H_
