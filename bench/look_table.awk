# The table of bench/look_bench.sh from its points, one line a file:
#   PHOTO ENCODER QUALITY BYTES SSIM BUTTERAUGLI
# in rising quality for each photograph and encoder. Variables: encoders (blank-separated,
# the first the one the others are divided by) and looks ("butteraugli 2.0;SSIM 0.95;...").

{
    key = $1 SUBSEP $2
    n = ++count[key]
    bytes[key, n] = log($4)
    score["SSIM", key, n] = $5
    score["butteraugli", key, n] = $6
    if (!($1 in seen)) {
        seen[$1] = 1
        photos[++photoCount] = $1
    }
}

function reaches(metric, value, target) {
    return metric == "SSIM" ? value >= target : value <= target
}

# The log of the bytes where the curve first reaches the target, on the straight line between
# the two qualities around it; "low" when the lowest quality already reaches it, "high" when no
# quality does.
function reach(photo, encoder, metric, target,    key, i, a, b) {
    key = photo SUBSEP encoder
    for (i = 1; i <= count[key]; i++) {
        if (!reaches(metric, score[metric, key, i], target))
            continue
        if (i == 1)
            return "low"
        a = score[metric, key, i - 1]
        b = score[metric, key, i]
        return bytes[key, i - 1] + (target - a) / (b - a) * (bytes[key, i] - bytes[key, i - 1])
    }
    return "high"
}

function cell(metric, target, encoder,    p, mine, theirs, sum, used, note, why) {
    for (p = 1; p <= photoCount; p++) {
        mine = reach(photos[p], encoder, metric, target)
        theirs = reach(photos[p], reference, metric, target)
        if (mine == "low" || mine == "high") {
            why = mine == "low" ? "already at the lowest quality" : "not reached at the highest"
            notes = notes sprintf("- %s, %s %s: %s %s\n", encoder, metric, target, photos[p], why)
            continue
        }
        if (theirs == "low" || theirs == "high")
            continue
        sum += mine - theirs
        used++
    }
    if (used == 0)
        return "out of range"
    note = used < photoCount ? sprintf(" (%d/%d)", used, photoCount) : ""
    return sprintf("%.3f%s", exp(sum / used), note)
}

# The reference's own bytes at the look, as bits a pixel are not known here: kilobytes.
function referenceBytes(metric, target,    p, at, sum, used) {
    for (p = 1; p <= photoCount; p++) {
        at = reach(photos[p], reference, metric, target)
        if (at == "low" || at == "high")
            continue
        sum += at
        used++
    }
    return used ? sprintf("%.1f", exp(sum / used) / 1000) : "-"
}

END {
    encoderCount = split(encoders, names, " ")
    reference = names[1]
    lookCount = split(looks, lookNames, ";")
    line = "| look | " reference " kB"
    rule = "|---|---:"
    for (e = 1; e <= encoderCount; e++) {
        line = line " | " names[e]
        rule = rule "|---:"
    }
    print line " |"
    print rule "|"
    for (l = 1; l <= lookCount; l++) {
        if (lookNames[l] == "")
            continue
        split(lookNames[l], parts, " ")
        line = "| " lookNames[l] " | " referenceBytes(parts[1], parts[2] + 0)
        for (e = 1; e <= encoderCount; e++)
            line = line " | " cell(parts[1], parts[2] + 0, names[e])
        print line " |"
    }
    if (notes != "")
        printf "\nOut of range, left out of the means above:\n%s", notes
}
