#include "tools/SampleWords.h"

#include <array>

namespace datatool::words {
namespace {

constexpr std::array<const char*, 48> firstNames{
    "James",   "Maria",   "Robert",  "Linda",     "Michael", "Patricia", "David",  "Jennifer",
    "William", "Susan",   "Richard", "Karen",     "Joseph",  "Nancy",    "Thomas", "Lisa",
    "Charles", "Betty",   "Daniel",  "Sandra",    "Mark",    "Ashley",   "Steven", "Donna",
    "Paul",    "Carol",   "Kevin",   "Michelle",  "Brian",   "Amanda",   "Gary",   "Melissa",
    "Anthony", "Deborah", "Ronald",  "Stephanie", "Jason",   "Rebecca",  "Eric",   "Laura",
    "Jeffrey", "Sharon",  "Ryan",    "Cynthia",   "Jacob",   "Kathleen", "Ramón",  "Zoë"};

constexpr std::array<const char*, 16> middleNames{"A",   "J",     "L",      "M",    "R",   "T",
                                                  "Lee", "Ann",   "Marie",  "Lynn", "Ray", "Dean",
                                                  "Jo",  "Allen", "Louise", "Wayne"};

constexpr std::array<const char*, 48> lastNames{
    "Smith",     "Johnson",  "Williams",  "Brown",   "Jones",    "Garcia",   "Miller",   "Davis",
    "Rodriguez", "Martinez", "Hernandez", "Lopez",   "Gonzalez", "Wilson",   "Anderson", "Thomas",
    "Taylor",    "Moore",    "Jackson",   "Martin",  "Lee",      "Perez",    "Thompson", "White",
    "Harris",    "Sanchez",  "Clark",     "Ramirez", "Lewis",    "Robinson", "Walker",   "Young",
    "Allen",     "King",     "Wright",    "Scott",   "Torres",   "Nguyen",   "Hill",     "Flores",
    "Green",     "Adams",    "Nelson",    "Baker",   "Hall",     "O'Brien",  "Campbell", "Müller"};

constexpr std::array<const char*, 12> organizations{
    "Patrol Division",       "Investigations Division", "Traffic Unit",
    "Detective Bureau",      "Narcotics Unit",          "K-9 Unit",
    "Special Response Team", "Communications",          "Records Section",
    "Administration",        "School Resource Unit",    "Reserve Officers"};

constexpr std::array<const char*, 8> personComments{"Field Training Officer",
                                                    "Firearms instructor since 2009",
                                                    "Transferred from Traffic Unit",
                                                    "On military leave; training resumes on return",
                                                    "Bilingual (Spanish)",
                                                    "Certified EMT",
                                                    "Light duty until further notice",
                                                    "Academy class of 2003 – top of class"};

constexpr std::array<const char*, 8> firearms{"Handgun Qualification",   "Patrol Rifle",
                                              "Shotgun Qualification",   "Low Light Shooting",
                                              "Firearms Safety",         "Less Lethal Munitions",
                                              "Active Shooter Response", "Tactical Reloading"};
constexpr std::array<const char*, 6> defensive{"Defensive Tactics",       "Ground Control",
                                               "Handcuffing Techniques",  "Baton Certification",
                                               "Conducted Energy Weapon", "Use of Force Review"};
constexpr std::array<const char*, 6> driving{"Emergency Vehicle Operation", "Pursuit Policy",
                                             "Precision Driving",           "Skid Control",
                                             "Motorcycle Operation",        "Vehicle Stops"};
constexpr std::array<const char*, 6> legal{"Legal Update",   "Search and Seizure",
                                           "Laws of Arrest", "Courtroom Testimony",
                                           "Juvenile Law",   "Civil Liability"};
constexpr std::array<const char*, 6> medical{"First Aid",
                                             "CPR and AED",
                                             "Bloodborne Pathogens",
                                             "Tactical Casualty Care",
                                             "Naloxone Administration",
                                             "Stress Management"};
constexpr std::array<const char*, 6> investigations{"Interview and Interrogation",
                                                    "Crime Scene Processing",
                                                    "Evidence Handling",
                                                    "Report Writing",
                                                    "Identity Theft",
                                                    "Death Investigation"};
constexpr std::array<const char*, 5> traffic{"Radar Operator", "Lidar Operator", "DUI Detection",
                                             "Crash Investigation",
                                             "Commercial Vehicle Enforcement"};
constexpr std::array<const char*, 5> crisis{"Crisis Intervention", "Hostage Negotiation",
                                            "Mental Health Response", "De-escalation",
                                            "Domestic Violence Response"};
constexpr std::array<const char*, 5> supervision{"First Line Supervision", "Leadership Development",
                                                 "Internal Affairs", "Field Training Officer",
                                                 "Performance Evaluations"};
constexpr std::array<const char*, 5> hazards{
    "Hazardous Materials Awareness", "Incident Command System", "Bomb Threat Response",
    "Weapons of Mass Destruction", "Disaster Preparedness"};

constexpr std::array<CourseCategory, 10> categories{{
    {"FIR", "FIREARMS", firearms},
    {"DEF", "DEFENSIVE TACTICS", defensive},
    {"DRV", "DRIVING", driving},
    {"LAW", "LEGAL", legal},
    {"MED", "MEDICAL", medical},
    {"INV", "INVESTIGATIONS", investigations},
    {"TRF", "TRAFFIC", traffic},
    {"CRI", "CRISIS RESPONSE", crisis},
    {"SUP", "SUPERVISION", supervision},
    {"HAZ", "HAZARDS AND EMERGENCIES", hazards},
}};

constexpr std::array<const char*, 8> providers{
    "State Police Academy",    "Regional Training Center", "In-House",
    "County Sheriff's Office", "Community College",        "Department Range",
    "State Attorney's Office", "Fire Department"};

constexpr std::array<const char*, 5> courseComments{
    "Meets the annual state requirement", "Certificate issued on completion",
    "Renew every two years", "Classroom and practical", "Online module"};

constexpr std::array<const char*, 10> trainingComments{"Passed",
                                                       "Qualified 94%",
                                                       "Qualified 88%",
                                                       "Remedial session required",
                                                       "Make-up session",
                                                       "Certificate on file",
                                                       "Instructor: Sgt. Miller",
                                                       "Night session",
                                                       "Score 47/50",
                                                       "Attended half day – rest on 2nd session"};

constexpr std::array<float, 16> hours{1.0f,  2.0f, 3.0f, 4.0f, 8.0f, 16.0f, 24.0f, 40.0f,
                                      80.0f, 0.5f, 1.2f, 1.5f, 2.5f, 3.5f,  7.5f,  12.5f};

} // namespace

std::span<const char* const> FirstNames() {
    return firstNames;
}
std::span<const char* const> MiddleNames() {
    return middleNames;
}
std::span<const char* const> LastNames() {
    return lastNames;
}
std::span<const char* const> Organizations() {
    return organizations;
}
std::span<const char* const> PersonComments() {
    return personComments;
}
std::span<const CourseCategory> CourseCategories() {
    return categories;
}
std::span<const char* const> Providers() {
    return providers;
}
std::span<const char* const> CourseComments() {
    return courseComments;
}
std::span<const char* const> TrainingComments() {
    return trainingComments;
}
std::span<const float> CourseHours() {
    return hours;
}

} // namespace datatool::words
