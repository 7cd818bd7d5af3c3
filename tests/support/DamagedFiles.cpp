#include "support/DamagedFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>
#include <sstream>

#include "support/ProjectFiles.h"

namespace test {

void cutInHalf(const std::string &path) { std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2); }

void overwritePage(const std::string &path, uint32_t page, unsigned seed, uint32_t pageSize) {
    std::mt19937 random(seed);
    std::string garbage(pageSize, '\0');
    for (char &c : garbage) c = static_cast<char>(random());
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(static_cast<std::streamoff>(page - 1) * pageSize);
    f.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
}

std::vector<uint32_t> overwriteRandomPages(const std::string &path, size_t count, unsigned seed, uint32_t pageSize) {
    const auto pages = static_cast<uint32_t>(std::filesystem::file_size(path) / pageSize);
    std::vector<uint32_t> all(pages > 1 ? pages - 1 : 0);
    std::iota(all.begin(), all.end(), 2u);
    std::mt19937 random(seed);
    std::shuffle(all.begin(), all.end(), random);
    all.resize(std::min(count, all.size()));
    std::sort(all.begin(), all.end());
    for (uint32_t page : all) overwritePage(path, page, seed + page, pageSize);
    return all;
}

std::vector<std::string> writeFilesThatAreNoProjects(const std::string &folder) {
    const std::string empty = folder + "/empty.slk", noise = folder + "/noise.slk", other = folder + "/other.slk";
    std::ofstream{empty};
    std::ofstream{noise};
    overwritePage(noise, 1, 3);
    overwritePage(noise, 2, 4);
    executeSql(other, "CREATE TABLE Project (Version INTEGER); INSERT INTO Project VALUES (257)");
    return {empty, noise, other};
}

std::string fileBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace test
