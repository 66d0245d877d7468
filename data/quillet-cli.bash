# bash completion for quillet-cli                           -*- shell-script -*-
# Completes the options, the values of those that take a fixed set of values,
# and file names for the articles and --title-file.

_comp_quillet_cli()
{
    local cur prev words cword
    _init_completion || return

    case $prev in
        --sample)
            COMPREPLY=($(compgen -W 'initial chinese english' -- "$cur"))
            return
            ;;
        -l | --length-class)
            COMPREPLY=($(compgen -W '0 1 2 3 -1' -- "$cur"))
            return
            ;;
        -e | --encoding)
            COMPREPLY=($(compgen -W 'auto utf-8 gbk gb18030 utf-16' -- "$cur"))
            return
            ;;
        --title-file)
            _filedir
            return
            ;;
        -t | --title | -j | --jobs)
            return
            ;;
        -h | --help | --version)
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '-h --help -t --title --title-file --title-line --sample
            -l --length-class -e --encoding --json --jsonl -j --jobs --version' \
            -- "$cur"))
        return
    fi
    _filedir
} &&
    complete -F _comp_quillet_cli quillet-cli

# ex: filetype=sh
