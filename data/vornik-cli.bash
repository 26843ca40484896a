# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for vornik-cli
_vornik_cli() {
    local cur prev command
    _init_completion || return

    command=""
    local word
    for word in "${words[@]:1:cword-1}"; do
        case $word in
            scan | check | report | dump | crc) command=$word; break ;;
        esac
    done
    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "scan check report dump crc --help" -- "$cur"))
        return
    fi

    case $prev in
        --format)
            if [[ $command == check ]]; then
                COMPREPLY=($(compgen -W "txt json csv" -- "$cur"))
            else
                COMPREPLY=($(compgen -W "txt xml json csv" -- "$cur"))
            fi
            return ;;
        --output) _filedir; return ;;
        --frames | --columns | --sort | -j | --jobs) return ;;
    esac

    if [[ $cur == -* ]]; then
        local options
        case $command in
            scan) options="--frames --columns --sort --reverse --format --no-xml-amp --output --recursive --jobs --help" ;;
            check) options="--recursive --format --jobs --help" ;;
            dump) options="--frames --no-walk --series --help" ;;
            *) options="--help" ;;
        esac
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    case $command in
        scan | check) _filedir ;;
        *) _filedir '@(mp[123+]|mpc|MP[123+]|MPC)' ;;
    esac
} && complete -F _vornik_cli vornik-cli
